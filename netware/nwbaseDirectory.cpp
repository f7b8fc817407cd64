// The component's directory-services side: start-up, the name context and
// the context flags.
#include "PropertyTable.h"
#include "TextCompare.h"
#include "nwbase.h"

namespace retrove {

const TClassInfo& TNWDSContextFlags::StaticClassInfo() {
  using F = TNWDSContextFlags;
  static const TClassInfo info =
      TClassInfoBuilder<F>("TNWDSContextFlags", TPersistent::StaticClassInfo())
          .Boolean("DereferenceAliases", &F::DereferenceAliases, &F::SetDereferenceAliases, true)
          .Boolean("TranslateStrings", &F::TranslateStrings, &F::SetTranslateStrings, true)
          .Boolean("TypelessNames", &F::TypelessNames, &F::SetTypelessNames, false)
          .Boolean("AsyncMode", &F::AsyncMode, &F::SetAsyncMode, false)
          .Boolean("CanonicalizeNames", &F::CanonicalizeNames, &F::SetCanonicalizeNames, true)
          .Boolean("DereferenceBaseClass", &F::DereferenceBaseClass, &F::SetDereferenceBaseClass, false)
          .Boolean("DisallowReferrals", &F::DisallowReferrals, &F::SetDisallowReferrals, false)
          .Build();
  return info;
}

void TNWDSContextFlags::Change(bool& field, bool value, uint32_t bit) {
  field = value;
  SetContextFlag(bit, value);
}

void TNWDSContextFlags::AddToContext() const {
  const std::pair<bool, uint32_t> flags[] = {
      {FTypelessNames, kDCVTypelessNames},         {FDereferenceAliases, kDCVDereferenceAliases},
      {FTranslateStrings, kDCVTranslateStrings},   {FAsyncMode, kDCVAsyncMode},
      {FCanonicalizeNames, kDCVCanonicalizeNames}, {FDereferenceBaseClass, kDCVDereferenceBaseClass},
      {FDisallowReferrals, kDCVDisallowReferrals},
  };
  for (const auto& [on, bit] : flags)
    if (on) AddContextFlags(bit);
}

void TNWBase::StartDirectoryServices() {
  if (!FNetAvailable || !InitDSUnicode()) return;
  DSInUse = true;
  FDSServer = IsDSServer(ServerHandle());
  SetNDSContextName("");
  FNDSContextFlags->AddToContext();
}

bool TNWBase::NDSAvailable() const {
  return FDSServer && IsDSServer(ServerHandle());
}

void TNWBase::SetNDSContextName(const std::string& value) {
  if (ComponentState().Contains(csLoading) || !NDSAvailable()) return;
  std::string name = UpperCase(value);
  if (name.empty() || name == "[ROOT]") {
    if (!ResetContextToRoot()) return;
    // A new context starts with the client's default flags.
    FNDSContextFlags->AddToContext();
    name = GetNameContext();
  } else if (name != FNDSContextName && !SetNameContext(name)) {
    return;
  }
  FNDSContextName = name;
  NotifyOwnerForm(kServerChangedMessage);
}

}  // namespace retrove
