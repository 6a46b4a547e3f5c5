// Readers on several threads at once, each reading its own statement as the
// import does, many times: every record must be its own line's, whole. Also
// built under ThreadSanitizer, which reports any state the threads share.
#include "OrvaleOnlineForBusinessFile.h"

#include "StatementTestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 4;
constexpr int kLines = 400;
constexpr int kReadsPerThread = 5;

// The number of records that differ from what the file says, over every read.
int WrongRecords(const GeneratedStatement& file) {
    int wrong = 0;
    for (int read = 0; read < kReadsPerThread; ++read) {
        OrvaleOnlineForBusinessFile reader(file.Path().c_str(), std::ios::in | std::ios::binary);
        if (!reader.IsValid()) return -1;
        reader.SkipHeaderLine();
        CTransactionRecord record;
        size_t index = 0;
        for (; reader.ReadTransaction(record); ++index) {
            if (index >= file.Expected().size()) {
                ++wrong;
                continue;
            }
            const ExpectedLine& line = file.Expected()[index];
            const double amount = line.debit ? record.GetDebitAmount() : record.GetCreditAmount();
            wrong += record.GetDescription().GetText() != line.description ||
                     record.GetTypeCode().GetText() != line.typeCode || amount != line.amount ||
                     record.GetIsDebit() != (line.debit ? 1 : 0) || record.GetDate() != line.date ||
                     record.GetSortCode().GetText() != std::string("123456");
        }
        wrong += static_cast<int>(file.Expected().size() - std::min(index, file.Expected().size()));
    }
    return wrong;
}

}  // namespace

TEST(ConcurrentReading, EachReaderReadsOnlyItsOwnFile) {
    const DebugCapture quiet;  // each read ends with the reader's end-of-file text
    std::vector<std::unique_ptr<GeneratedStatement>> files;
    for (int seed = 0; seed < kThreads; ++seed) files.push_back(std::make_unique<GeneratedStatement>(seed, kLines));
    std::vector<int> wrong(kThreads, 0);
    std::vector<std::thread> threads;
    for (int index = 0; index < kThreads; ++index)
        threads.emplace_back([&, index] { wrong[index] = WrongRecords(*files[index]); });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(std::vector<int>(kThreads, 0), wrong);
}
