#include "ImportReview.h"

#include "BreaksInFileOrder.h"
#include "PrintableText.h"
#include "StatementFormat.h"
#include "ValueText.h"

#include <windows.h>

namespace {

std::string Were(int count) { return count == 1 ? " was" : " were"; }

std::string RecognizerText(const ImportReview& review) {
    const std::string found = " (the file was " + review.recognition + ")";
    if (review.recognizerTitle)
        return "The module's file test, which reads the file in text mode, recognised it, but the import, which reads "
               "it in binary mode, did not" +
               found + "; the host's file chooser offers the file, and importing it empties the host statement.";
    return "The module's file test, which reads the file in text mode, did not recognise it, but the import, which "
           "reads it in binary mode, did" +
           found + "; the host's file chooser may not offer the file.";
}

std::string NoLineMatchedText(const ImportReview& review) {
    std::string text = "No line matched the host's account (" + review.hostAccount + "); the file has";
    const std::vector<WrittenAccount>& accounts = review.losses.OtherAccounts();
    for (std::size_t index = 0; index < accounts.size(); ++index)
        text += std::string(index == 0 ? " " : ", ") + "sort code " + Quoted(accounts[index].sortCode) +
                " with account " + Quoted(accounts[index].accountNumber);
    return text + (review.losses.MoreOtherAccounts() ? ", and more accounts." : ".");
}

}  // namespace

bool ImportReview::NoLineMatched() const { return recognised && hostLines == 0 && losses.OtherAccount() > 0; }

bool ImportReview::StrictFails() const {
    return fileChange || losses.LostLinesAtOrAfterTheStop() || losses.Undated().Count() > 0 ||
           losses.Replaced().Lines().Count() > 0 || losses.Utf8ReadInAnsi().Count() > 0 ||
           losses.UnreadableAmounts().Count() > 0 || losses.TwoAmounts().Count() > 0 || NoLineMatched() ||
           !balance.breaks.empty();
}

ImportReview ReviewImport(StatementPath path, const StatementAccount& account, const HostLines& lines,
                          const std::function<void(const ExplainedLine&)>& alsoOnLine) {
    ImportReview review;
    review.hostLines = lines.Size();
    review.hostAccount = HostAccountText(account);
    RunningBalance balance;
    HostLineCheck check(lines);
    ExplainStatement(
        path, account,
        [&](const StatementExplanation& recognition) {
            review.recognised = recognition.recognised;
            review.recognition = recognition.recognition;
            review.utf8 = recognition.utf8;
        },
        [&](const ExplainedLine& line) {
            review.losses.Add(line);
            balance.Add(line);
            check.Add(line);
            if (alsoOnLine) alsoOnLine(line);
        });
    review.balance = balance.Check(review.losses.StoppedBeforeTheEnd());
    review.fileChange = check.Change();
    return review;
}

void WriteExplanation(std::ostream& out, StatementPath path, const StatementAccount& account, const HostLines& lines,
                      ImportReview& review) {
    BreaksInFileOrder breaks(review.balance);
    HostLineCheck check(lines);
    ExplainStatement(
        path, account,
        [&](const StatementExplanation& recognition) {
            WriteForPeople(out, "The file was " + recognition.recognition + ".");
        },
        [&](const ExplainedLine& line) {
            std::string text = Describe(line);
            if (const BalanceBreak* found = breaks.At(line.lineNumber))
                text += "; the running balance breaks here: " + review.balance.Reason(*found);
            WriteForPeople(out, text);
            check.Add(line);
        });
    if (!review.fileChange) review.fileChange = check.Change();
}

std::vector<std::string> Summary(const ImportReview& review) {
    const std::string recognition =
        !review.recognised         ? "The file was not recognised as a statement of this bank."
        : review.recognizerTitle ? "The file was recognised as " + Quoted(*review.recognizerTitle) + "."
                                   : std::string("The file was recognised as a statement of this bank.");
    return {"Imported " + std::to_string(review.hostLines) +
                (review.hostLines == 1 ? " statement line." : " statement lines."),
            recognition, review.cancelled ? "The import was cancelled." : "The import was not cancelled."};
}

std::vector<std::string> Warnings(const ImportReview& review) {
    std::vector<std::string> warnings;
    const LossSummary& losses = review.losses;
    if (!review.RecognizerAgrees()) warnings.push_back(RecognizerText(review));
    if (review.fileChange)
        warnings.push_back("The statement file changed during the import: " + review.fileChange->Text() +
                           ". The statement lines printed are what the host received; what is said of the file's "
                           "lines is of the file as it is now.");
    if (const auto& passedOver = losses.PassedOverFirstLine())
        warnings.push_back("line " + std::to_string(passedOver->lineNumber) + " passed over: " + passedOver->reason);
    if (const auto stop = losses.StoppedBeforeTheEnd())
        warnings.push_back("The import stopped at line " + std::to_string(*stop) +
                           ", which is not a transaction line (" + losses.StopReason() + "); " +
                           LineCount(losses.LinesNotRead()) + " after it" + Were(losses.LinesNotRead()) + " not read.");
    if (const int undated = losses.Undated().Count())
        warnings.push_back(LineCount(undated) + Were(undated) + " imported without a date (the date does not read as one): " +
                           losses.Undated().Text() + ".");
    if (const int replaced = losses.Replaced().Lines().Count())
        warnings.push_back(LineCount(replaced) + Were(replaced) +
                           " imported with a character replaced (bytes that do not read in the file's encoding, or a "
                           "character cut where the record keeps only the first " +
                           std::to_string(kMaxTypeCodeLength) + " bytes of the type code): " +
                           losses.Replaced().Text() + ".");
    if (const int utf8 = losses.Utf8ReadInAnsi().Count())
        warnings.push_back("The file was read in the ANSI code page (" + std::to_string(GetACP()) +
                           " here), as not all of its bytes are UTF-8, but " + LineCount(utf8) +
                           (utf8 == 1 ? " looks like UTF-8, and its" : " look like UTF-8, and their") +
                           " texts were read in that code page, not as UTF-8: " + losses.Utf8ReadInAnsi().Text() +
                           ".");
    if (const int unreadable = losses.UnreadableAmounts().Count())
        warnings.push_back(LineCount(unreadable) + Were(unreadable) +
                           " passed over with a debit or credit that does not read as an amount: " +
                           losses.UnreadableAmounts().Text() + ".");
    if (const int two = losses.TwoAmounts().Count())
        warnings.push_back(LineCount(two) + Were(two) + " passed over with both a debit and a credit amount: " +
                           losses.TwoAmounts().Text() + ".");
    if (const int other = losses.OtherAccount())
        warnings.push_back(LineCount(other) + Were(other) + " passed over as another account's.");
    if (review.NoLineMatched()) warnings.push_back(NoLineMatchedText(review));
    if (const int noAmount = losses.NoAmount())
        warnings.push_back(LineCount(noAmount) + Were(noAmount) + " passed over without a debit or credit amount.");
    if (const int empty = losses.EmptyRows().Count())
        warnings.push_back(std::to_string(empty) + (empty == 1 ? " empty row was" : " empty rows were") +
                           " passed over (every field empty).");
    return warnings;
}
