#include "FailurePlan.h"

#include <algorithm>
#include <stdexcept>

namespace reference_host {
namespace {

const char kCreateInstance[] = "CreateInstance";

std::set<std::string> LineOperations() {
    static const char* const kProperties[] = {
        "Number",   "Date",     "Reference",    "Payee",    "Direction", "Category",
        "Reconciled", "ValueDate", "Memo",      "Currency", "ExchangeRate", "BankCode",
        "Location", "CounterpartyAccount", "Description", "TaxAmount", "Balance", "Amount",
    };
    std::set<std::string> operations{"get_Index"};
    for (const char* property : kProperties) {
        operations.insert(std::string("get_") + property);
        operations.insert(std::string("put_") + property);
    }
    return operations;
}

const std::map<std::string, std::set<std::string>>& Operations() {
    static const std::map<std::string, std::set<std::string>> kOperations = {
        {"Reconciliation", {"get_BankAccount", "putref_BankAccount"}},
        {"BankAccount",
         {"get_SortCode", "put_SortCode", "get_Name", "put_Name", "get_AccountNumber", "put_AccountNumber"}},
        {"Statement", {"get_Count", "Item", "AddLine", "Clear", "get_Name", "get_Balance", "put_Balance"}},
        {"StatementLine", LineOperations()},
        {"BankSetup", {"OpenBankSetup", "GetFileOptions", kCreateInstance}},
        {"FileChooser", {"SetOptions", "get_Title", "put_Title", "get_FileName", "Show", kCreateInstance}},
    };
    return kOperations;
}

}  // namespace

bool FailurePlan::IsOperation(const std::string& object, const std::string& operation) {
    const auto found = Operations().find(object);
    return found != Operations().end() && found->second.count(operation) != 0;
}

void FailurePlan::Inject(const std::string& object, const std::string& operation, Outcome outcome) {
    if (!IsOperation(object, operation))
        throw std::invalid_argument("the reference host has no operation " + object + "." + operation);
    std::vector<Outcome>& planned = m_outcomes[{object, operation}];
    const int onlyCall = outcome.onlyCall;
    planned.erase(std::remove_if(planned.begin(), planned.end(),
                                 [onlyCall](const Outcome& earlier) { return earlier.onlyCall == onlyCall; }),
                  planned.end());
    planned.push_back(std::move(outcome));
}

void FailurePlan::Interject(const std::string& object, const std::string& operation, int callNumber,
                            std::function<void()> action) {
    if (!IsOperation(object, operation))
        throw std::invalid_argument("the reference host has no operation " + object + "." + operation);
    m_interjections[{object, operation, callNumber}] = std::move(action);
}

std::function<void()> FailurePlan::Interjection(const std::string& object, const std::string& operation,
                                                int callNumber) const {
    const auto found = m_interjections.find({object, operation, callNumber});
    return found != m_interjections.end() ? found->second : std::function<void()>();
}

void FailurePlan::SetErrorSupport(const std::string& object, bool supported) {
    if (Operations().count(object) == 0) throw std::invalid_argument("the reference host has no object " + object);
    if (supported)
        m_withoutErrorSupport.erase(object);
    else
        m_withoutErrorSupport.insert(object);
}

std::optional<Outcome> FailurePlan::Find(const std::string& object, const std::string& operation,
                                         int callNumber) const {
    if (!IsOperation(object, operation)) return std::nullopt;
    const auto planned = m_outcomes.find({object, operation});
    if (planned != m_outcomes.end()) {
        const std::vector<Outcome>& outcomes = planned->second;
        for (int wanted : {callNumber, 0}) {
            const auto found = std::find_if(outcomes.begin(), outcomes.end(),
                                            [wanted](const Outcome& outcome) { return outcome.onlyCall == wanted; });
            if (found != outcomes.end()) return *found;
        }
    }
    if (FAILED(m_everyCall) && operation != kCreateInstance) return Outcome{m_everyCall, {}, 0};
    return std::nullopt;
}

}  // namespace reference_host
