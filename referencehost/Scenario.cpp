#include "Scenario.h"

#include "CompactStatement.h"
#include "HostBankSetup.h"
#include "HostFileChooser.h"
#include "HostReconciliation.h"
#include "HostStatement.h"

namespace reference_host {

std::shared_ptr<Scenario> Scenario::Create() {
    return std::shared_ptr<Scenario>(new Scenario());
}

// Under Wine the build's type library folder is reachable on drive Z:.
Scenario::Scenario() {
    settings.typeLibraryPath = L"" PENDREL_HOST_TYPELIB_PATH;
}

ComPtr<HostReconciliation> Scenario::CreateReconciliation() {
    return MakeObject<HostReconciliation>(shared_from_this());
}

ComPtr<HostStatement> Scenario::CreateStatement() {
    return MakeObject<HostStatement>(shared_from_this());
}

ComPtr<CompactStatement> Scenario::CreateCompactStatement() {
    return MakeObject<CompactStatement>(shared_from_this());
}

ComPtr<HostBankSetup> Scenario::CreateBankSetup() {
    return MakeObject<HostBankSetup>(shared_from_this());
}

ComPtr<HostFileChooser> Scenario::CreateFileChooser() {
    return MakeObject<HostFileChooser>(shared_from_this());
}

void Scenario::CountLive(LiveKind kind, long change) {
    (kind == LiveKind::HostObject ? m_liveObjects : m_liveFactories) += change;
}

}  // namespace reference_host
