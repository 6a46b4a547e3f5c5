// The statement lines the host received, as the tool keeps them to show and
// check them: the reference host's compact records (StatementLineRecords.h),
// which keep a line's number, direction, amount and date as values and its
// texts in UTF-8, about 56 bytes a line and its texts.
#pragma once

#include "StatementLineRecords.h"

using HostLines = reference_host::StatementLineRecords;
using HostLine = reference_host::StatementLineView;
