// The host's lines as JSON, texts exact, with each line's balance from the
// file, and the review of the import beside them: what the host did not
// get, every fact the warnings say, and the running balance check.
#pragma once

#include "HostLines.h"
#include "ImportReview.h"

#include <ostream>

void WriteJson(std::ostream& out, const HostLines& lines, const ImportReview& review);
