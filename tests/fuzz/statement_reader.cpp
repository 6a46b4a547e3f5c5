// Fuzzes the whole statement file reader over arbitrary file contents. The
// input is written to an in-memory scratch file, which is then read the way
// the file test and the import read it: open and format check, header skip,
// then every record, the failing reads included, until the end of the file;
// then past the end. It is read three times:
// - in text mode and in binary mode, which on this platform read the same
//   bytes and so must give the same verdict and the same records;
// - in binary mode again with allocations failing after a number of them
//   picked from the input, which must never get out of the reader, and
//   which may fail reads but never change what a read gives.
// A file the format check accepts has 8 fields on its first or second line,
// and the reader's last line is the line each record was read from. Each
// reading first decides the file's encoding, as the import does (it decides
// how a no-break space in an amount is written); the encoding decided is
// what the plain decoding of ReferenceUtf8.h says, and the scan behind it
// gives the same answer for the bytes in two pieces as whole. A line whose
// debit or credit field keeps it from an amount carries none.
#include "AllocationFailure.h"
#include "FuzzSupport.h"
#include "LineFields.h"
#include "OrvaleOnlineForBusinessFile.h"
#include "ReferenceUtf8.h"
#include "Utf8Scan.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using allocation_failure::FailAllocationsAfter;

namespace {

// One in-memory file per process (memfd), opened by the reader through its
// /proc/self/fd path: the reader gets a real file without any disk traffic.
struct ScratchFile {
    int descriptor = memfd_create("pendrel_fuzz_statement", 0);
    std::string path = "/proc/self/fd/" + std::to_string(descriptor);

    bool Hold(const uint8_t* data, size_t size) {
        if (descriptor < 0 || ftruncate(descriptor, 0) != 0) return false;
        size_t done = 0;
        while (done < size) {
            const ssize_t written = pwrite(descriptor, data + done, size - done, static_cast<off_t>(done));
            if (written <= 0) return false;
            done += static_cast<size_t>(written);
        }
        return true;
    }
};

// What one reader made of the file: its verdict and every read in order, a
// failed read as no record.
struct Reading {
    bool valid = false;
    int layout = 0;
    bool utf8 = false;
    std::vector<std::optional<CTransactionRecord>> reads;
};

bool HasAnyOf(const CString& text, const char* set) {
    return std::string(text.GetText()).find_first_of(set) != std::string::npos;
}

void CheckRecord(const CTransactionRecord& record, int layout, bool read, const char* lastLine) {
    FUZZ_CHECK(record.GetLayout() == layout);
    FUZZ_CHECK(!read || layout != 0);
    FUZZ_CHECK(record.GetSortCode().GetLength() <= 6);
    FUZZ_CHECK(!HasAnyOf(record.GetSortCode(), " \t\n\v\f\r,-"));
    FUZZ_CHECK(record.GetAccountNumber().GetLength() <= 8);
    FUZZ_CHECK(!HasAnyOf(record.GetAccountNumber(), " \t\n\v\f\r"));
    FUZZ_CHECK(record.GetTypeCode().GetLength() <= 3);
    FUZZ_CHECK(std::isfinite(record.GetDate()));
    FUZZ_CHECK(record.GetDebitAmount() >= 0 && record.GetCreditAmount() >= 0 && record.GetBalance() >= 0);
    FUZZ_CHECK(record.GetIsDebit() == (record.GetDebitAmount() > 0 ? 1 : 0));
    FUZZ_CHECK(record.GetDebitAmount() == 0 || record.GetCreditAmount() == 0);
    if (record.GetAmountRefusal() != CTransactionRecord::AmountRefusal::None)
        FUZZ_CHECK(record.GetDebitAmount() == 0 && record.GetCreditAmount() == 0);
    FUZZ_CHECK(std::strlen(lastLine) <= static_cast<size_t>(kMaxLineLength));
    if (!read) FUZZ_CHECK(record.GetDescription().GetLength() == 0);
    int quoted = 0;  // the line a record was read from is a transaction line still
    if (read) FUZZ_CHECK(CountFields(lastLine, ',', quoted) == 8);
}

// Reads the whole file, its encoding decided first.
Reading ReadAll(const char* path, std::ios_base::openmode mode, size_t lines) {
    Reading reading;
    OrvaleOnlineForBusinessFile file(path, mode);
    file.DecideEncoding();
    reading.utf8 = file.IsUtf8();
    reading.valid = file.IsValid();
    reading.layout = file.GetLayout();
    FUZZ_CHECK(reading.layout >= 0 && reading.layout <= 2);
    FUZZ_CHECK(!reading.valid || reading.layout != 0);
    file.SkipHeaderLine();
    reading.reads.reserve(lines + 2);
    CTransactionRecord record;
    // Each read consumes one whole line (an over-long one too) or is at the
    // end, so lines + 2 reads pass the end of any file.
    for (size_t reads = 0; reads < lines + 2; ++reads) {
        const bool read = file.ReadTransaction(record);
        const FailAllocationsAfter unlimited(-1);  // the checks and the copy are not the reader's
        CheckRecord(record, reading.layout, read, file.LastLine());
        reading.reads.push_back(read ? std::optional<CTransactionRecord>(record) : std::nullopt);
    }
    return reading;
}

bool SameRecord(const CTransactionRecord& left, const CTransactionRecord& right) {
    return left.GetSortCode() == right.GetSortCode() && left.GetAccountNumber() == right.GetAccountNumber() &&
           left.GetDateText() == right.GetDateText() && left.GetTypeCode() == right.GetTypeCode() &&
           left.GetDescription() == right.GetDescription() && left.GetDebitAmount() == right.GetDebitAmount() &&
           left.GetCreditAmount() == right.GetCreditAmount() && left.GetBalance() == right.GetBalance() &&
           left.GetIsDebit() == right.GetIsDebit() && left.GetDate() == right.GetDate() &&
           left.GetLayout() == right.GetLayout() && left.GetAmountRefusal() == right.GetAmountRefusal();
}

// Every read that `partial` made gave what `whole` read at the same place.
void CheckReadsAgree(const Reading& partial, const Reading& whole) {
    FUZZ_CHECK(partial.reads.size() == whole.reads.size());
    for (size_t i = 0; i < partial.reads.size(); ++i) {
        if (partial.reads[i]) FUZZ_CHECK(whole.reads[i] && SameRecord(*partial.reads[i], *whole.reads[i]));
    }
}

// Whether the first or the second line has 8 fields, the second counted
// with the quote state the first left open; an over-long line has none.
bool EightFieldsOnFirstOrSecondLine(const uint8_t* data, size_t size) {
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    SkipByteOrderMark(stream);
    LineBuffer line;
    int quoted = 0;
    for (int n = 0; n < 2; ++n) {
        if (ReadLine(stream, line) == LineRead::Complete && CountFields(line, ',', quoted) == 8) return true;
    }
    return false;
}

// The encoding the import decides for a recognised file: UTF-8 with the
// byte-order mark, or when the plain decoding finds every byte UTF-8 and a
// character of several bytes; and the scan in two pieces (split where the
// input's hash says) answers as the decoding of the whole.
void CheckEncoding(const Reading& decided, const uint8_t* data, size_t size, uint32_t hash) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool utf8 = reference::IsMultibyteUtf8(bytes);
    if (decided.valid) FUZZ_CHECK(decided.utf8 == (bytes.rfind("\xEF\xBB\xBF", 0) == 0 || utf8));
    const size_t split = hash % (size + 1);
    Utf8Scan scan;
    scan.Take(bytes.data(), split);
    scan.Take(bytes.data() + split, size - split);
    FUZZ_CHECK(scan.IsMultibyteUtf8() == utf8);
}

uint32_t Hash(const uint8_t* data, size_t size) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceDiagnostics();
    static ScratchFile file;
    if (!file.Hold(data, size)) return 0;
    const char* path = file.path.c_str();
    const size_t lines = static_cast<size_t>(std::count(data, data + size, '\n')) + 1;
    const std::ios_base::openmode binaryMode = std::ios::in | std::ios::binary;

    const Reading text = ReadAll(path, std::ios::in, lines);
    Reading binary;
    int allocations = 0;
    {
        const FailAllocationsAfter counting(INT_MAX);
        binary = ReadAll(path, binaryMode, lines);
        allocations = INT_MAX - counting.Unused();
    }
    FUZZ_CHECK(text.valid == binary.valid && text.layout == binary.layout);
    CheckReadsAgree(text, binary);
    CheckReadsAgree(binary, text);
    if (binary.valid) FUZZ_CHECK(EightFieldsOnFirstOrSecondLine(data, size));
    CheckEncoding(binary, data, size, Hash(data, size));

    Reading starved;
    {
        const FailAllocationsAfter failing(static_cast<int>(Hash(data, size) % (allocations + 1u)));
        starved = ReadAll(path, binaryMode, lines);
    }
    FUZZ_CHECK(!starved.valid || starved.layout == binary.layout);
    FUZZ_CHECK(!starved.valid || binary.valid);
    CheckReadsAgree(starved, binary);
    return 0;
}
