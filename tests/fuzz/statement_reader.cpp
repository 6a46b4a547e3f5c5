// Fuzzes the whole statement file reader over arbitrary file contents. The
// input is written to an in-memory scratch file, which is then read the way the file
// test and the import read it, in text and in binary mode: open and format
// check, header skip, then every record, the failing reads included, until
// the end of the file; then past the end. The reader's last line is the line
// each record was read from.
#include "FuzzSupport.h"
#include "LineFields.h"
#include "OrvaleOnlineForBusinessFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

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

void ReadAll(const char* path, std::ios_base::openmode mode, size_t lines) {
    OrvaleOnlineForBusinessFile file(path, mode);
    const bool valid = file.IsValid();
    const int layout = file.GetLayout();
    FUZZ_CHECK(layout >= 0 && layout <= 2);
    FUZZ_CHECK(!valid || layout != 0);
    file.SkipHeaderLine();
    CTransactionRecord record;
    // Each read consumes one whole line (an over-long one too) or is at the
    // end, so lines + 2 reads pass the end of any file.
    for (size_t reads = 0; reads < lines + 2; ++reads) {
        const bool read = file.ReadTransaction(record);
        FUZZ_CHECK(record.GetLayout() == layout);
        FUZZ_CHECK(record.GetSortCode().GetLength() <= 6);
        FUZZ_CHECK(record.GetAccountNumber().GetLength() <= 8);
        FUZZ_CHECK(record.GetTypeCode().GetLength() <= 3);
        FUZZ_CHECK(std::isfinite(record.GetDate()));
        FUZZ_CHECK(record.GetDebitAmount() >= 0 && record.GetCreditAmount() >= 0 && record.GetBalance() >= 0);
        FUZZ_CHECK(record.GetIsDebit() == (record.GetDebitAmount() > 0 ? 1 : 0));
        FUZZ_CHECK(std::strlen(file.LastLine()) <= static_cast<size_t>(kMaxLineLength));
        if (!read) {
            FUZZ_CHECK(record.GetDescription().GetLength() == 0);
        } else {
            int quoted = 0;  // the line the record was read from is a transaction line still
            FUZZ_CHECK(CountFields(file.LastLine(), ',', quoted) == 8);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceDiagnostics();
    static ScratchFile file;
    if (!file.Hold(data, size)) return 0;
    const std::string& path = file.path;
    const size_t lines = static_cast<size_t>(std::count(data, data + size, '\n')) + 1;
    ReadAll(path.c_str(), std::ios::in, lines);
    ReadAll(path.c_str(), std::ios::in | std::ios::binary, lines);
    return 0;
}
