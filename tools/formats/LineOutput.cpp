#include "LineOutput.h"

#include "CsvWriter.h"
#include "JsonWriter.h"
#include "TableWriter.h"

void WriteLines(std::ostream& out, OutputFormat format, const HostLines& lines, const ImportReview& review) {
    switch (format) {
        case OutputFormat::Csv:
            return WriteCsv(out, lines);
        case OutputFormat::Json:
            return WriteJson(out, lines, review);
        case OutputFormat::Table:
            return WriteTable(out, lines);
    }
}
