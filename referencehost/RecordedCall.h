// One call on a reference-host object, from its start to its return: it is
// appended to the call log when it starts, then runs the failure plan's
// interjection for it, if any; when the plan has an outcome for it, that
// outcome answers instead of the object's work.
#pragma once

#include "CallLog.h"
#include "FailurePlan.h"
#include "Scenario.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace reference_host {

// The values of a call as the log shows them (CallValues.h).
struct Passed {
    Passed() = default;
    Passed(std::string text) : value(std::move(text)) {}
    Passed(std::string text, std::vector<unsigned char> record) : value(std::move(text)), bytes(std::move(record)) {}

    std::string value;
    std::vector<unsigned char> bytes;
};

class RecordedCall {
public:
    RecordedCall(Scenario& scenario, const std::string& object, int instance, const char* operation, Passed passed);

    bool IsPlanned() const { return m_planned.has_value(); }
    // Publishes the planned error object (or clears the thread's one for a
    // failure without a description) and finishes with the planned code.
    HRESULT AnswerPlanned(REFIID iid);
    // Records the result and returns it.
    HRESULT Finish(HRESULT result);

private:
    Scenario& m_scenario;
    std::size_t m_position;
    std::optional<Outcome> m_planned;
};

}  // namespace reference_host
