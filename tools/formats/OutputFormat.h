// The formats the tool writes the statement lines the host received in.
#pragma once

enum class OutputFormat { Table, Csv, Json };
