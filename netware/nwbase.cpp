#include "nwbase.h"

#include <utility>

#include "FormNotice.h"
#include "PropertyTable.h"

namespace retrove {

TNWLib* NWLib = nullptr;
TNWNDS* NWNDS = nullptr;
TNWServer* NWServer = nullptr;
TNWProp* NWProp = nullptr;
TNWPrint* NWPrint = nullptr;

const TClassInfo& TNWLastError::StaticClassInfo() {
  static const TClassInfo info = TClassInfoBuilder<TNWLastError>("TNWLastError", TPersistent::StaticClassInfo())
                                     .String("NWLib", &TNWLastError::NWLib, nullptr)
                                     .String("NWServer", &TNWLastError::NWServer, nullptr)
                                     .String("NWProp", &TNWLastError::NWProp, nullptr)
                                     .String("NWNDS", &TNWLastError::NWNDS, nullptr)
                                     .String("NWPrint", &TNWLastError::NWPrint, nullptr)
                                     .Build();
  return info;
}

void TNWLastError::Refresh() {
  FNWLib = NWErrorCodeText(NWLibError);
  FNWServer = NWErrorCodeText(NWServerError);
  FNWProp = NWErrorCodeText(NWPropError);
  FNWNDS = NWErrorCodeText(NDSError);
  FNWPrint = NWErrorCodeText(NWPrintError);
}

const TClassInfo& TNWBase::StaticClassInfo() {
  static const TClassInfo info = TClassInfoBuilder<TNWBase>("TNWBase", TComponent::StaticClassInfo())
                                     .Boolean("NetAvailable", &TNWBase::NetAvailable, nullptr)
                                     .String("NDSContextName", &TNWBase::NDSContextName,
                                             &TNWBase::SetNDSContextName)
                                     .Object("NDSContextFlags", &TNWBase::NDSContextFlags)
                                     .Boolean("NDSAvailable", &TNWBase::NDSAvailable, nullptr)
                                     .Boolean("SilentExceptions", &TNWBase::SilentExceptions,
                                              &TNWBase::SetSilentExceptions, true)
                                     .Object("LastError", &TNWBase::LastError)
                                     .Build();
  return info;
}

TNWBase::TNWBase(TComponent* owner) : TComponent(owner) {
  NWLib = new TNWLib;
  NWNDS = new TNWNDS;
  NWServer = new TNWServer;
  NWPrint = new TNWPrint;
  NWProp = new TNWProp;
  FLastError = std::make_unique<TNWLastError>();
  FNDSContextFlags = std::make_unique<TNWDSContextFlags>();
  FNetAvailable = NWLibReady();
  StartDirectoryServices();
}

TNWBase::~TNWBase() {
  if (NDSAvailable()) FreeDSUnicode();
  delete std::exchange(NWNDS, nullptr);
  delete std::exchange(NWLib, nullptr);
  delete std::exchange(NWServer, nullptr);
  delete std::exchange(NWPrint, nullptr);
  delete std::exchange(NWProp, nullptr);
  FLastError.reset();
  FNDSContextFlags.reset();
}

NWCONN_HANDLE TNWBase::ServerHandle() const {
  if (FServerHandle == 0) FServerHandle = GetPrimaryConnHandle();
  return FServerHandle;
}

TNWLastError* TNWBase::LastError() {
  FLastError->Refresh();
  return FLastError.get();
}

void TNWBase::NotifyOwnerForm(uint32_t message) {
  if (ComponentState().Contains(csLoading) || !Owner()) return;
  if (IFormNotifier* notifier = FormNotifier()) notifier->NotifyControls(*Owner(), message);
}

}  // namespace retrove
