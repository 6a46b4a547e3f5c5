#include "RecordedCall.h"

#include "ResourceHolders.h"

namespace reference_host {
namespace {

void PublishError(const std::wstring& description, REFIID iid) {
    ComPtr<ICreateErrorInfo> created;
    if (FAILED(CreateErrorInfo(created.Put()))) return;
    created->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    created->SetGUID(iid);
    created->SetSource(const_cast<LPOLESTR>(L"ReferenceHost"));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(created.As(info))) SetErrorInfo(0, info.Get());
}

}  // namespace

RecordedCall::RecordedCall(Scenario& scenario, const std::string& object, int instance, const char* operation,
                           Passed passed)
    : m_scenario(scenario),
      m_position(scenario.log.Append(
          CallEntry{object, instance, operation, std::move(passed.value), std::move(passed.bytes), S_OK})),
      m_planned(scenario.failures.Find(object, operation, scenario.log.CountOf(object, operation))) {
    // Run from a copy, as the action may change the plan that holds it.
    if (const auto action = scenario.failures.Interjection(object, operation, scenario.log.CountOf(object, operation)))
        action();
}

HRESULT RecordedCall::AnswerPlanned(REFIID iid) {
    const Outcome& outcome = *m_planned;
    if (!outcome.description.empty())
        PublishError(outcome.description, iid);
    else if (FAILED(outcome.result))
        SetErrorInfo(0, nullptr);
    return Finish(outcome.result);
}

HRESULT RecordedCall::Finish(HRESULT result) {
    m_scenario.log.SetResult(m_position, result);
    return result;
}

}  // namespace reference_host
