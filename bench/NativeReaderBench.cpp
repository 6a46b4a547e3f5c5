// Native (Linux) build of the statement reader for the instruction count:
// construct, decide the encoding (a scan of the whole file, as the import
// makes), skip the header, read every record, print the count. Run under
// valgrind --tool=callgrind by bench/run_bench.py; nothing is timed here.
#include "OrvaleOnlineForBusinessFile.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: native-reader-bench FILE\n");
        return 2;
    }
    OrvaleOnlineForBusinessFile reader(argv[1], std::ios::in | std::ios::binary);
    if (!reader.IsValid()) return 1;
    reader.DecideEncoding();
    CTransactionRecord record;
    reader.SkipHeaderLine();
    long count = 0;
    while (reader.ReadTransaction(record)) ++count;
    std::printf("records=%ld\n", count);
    return 0;
}
