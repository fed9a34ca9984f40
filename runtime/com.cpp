#include "runtime/com.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

#include "runtime/handles.h"
#include "runtime/later_loaded.h"
#include "runtime/rules/com_access.h"

namespace {

// What the process's token says of one kind, in the buffer the call filled; empty where it says nothing.
std::vector<BYTE> TokenFact(TOKEN_INFORMATION_CLASS kind) {
  UniqueKernelHandle token;
  DWORD size = 0;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return {};
  GetTokenInformation(token.get(), kind, nullptr, 0, &size);
  std::vector<BYTE> fact(size);
  if (size == 0 || !GetTokenInformation(token.get(), kind, fact.data(), size, &size)) return {};
  return fact;
}

std::wstring SidText(PSID sid) {
  UniqueLocalMemory text;
  if (!ConvertSidToStringSidW(sid, reinterpret_cast<wchar_t**>(text.put()))) return L"";
  return static_cast<const wchar_t*>(text.get());
}

// The process's COM security, in the absolute form that COM takes, kept for the life of the process.
class AccessForTheUser {
 public:
  AccessForTheUser() {
    const ProcessIdentity own = OwnIdentity();
    if (own.user.empty() || own.integrityLevel.empty()) return;
    const std::wstring sddl = ComAccessSddl(own.user, own.integrityLevel);
    UniqueLocalMemory relative;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              reinterpret_cast<PSECURITY_DESCRIPTOR*>(relative.put()),
                                                              nullptr)) {
      return;
    }
    DWORD sizes[5] = {};
    MakeAbsoluteSD(relative.get(), nullptr, &sizes[0], nullptr, &sizes[1], nullptr, &sizes[2], nullptr, &sizes[3],
                   nullptr, &sizes[4]);
    for (int part = 0; part < 5; ++part) parts_[part].resize(sizes[part]);
    if (MakeAbsoluteSD(relative.get(), parts_[0].data(), &sizes[0], reinterpret_cast<PACL>(parts_[1].data()), &sizes[1],
                       reinterpret_cast<PACL>(parts_[2].data()), &sizes[2], parts_[3].data(), &sizes[3],
                       parts_[4].data(), &sizes[4])) {
      descriptor_ = parts_[0].data();
    }
  }
  PSECURITY_DESCRIPTOR get() const { return descriptor_; }

 private:
  std::vector<BYTE> parts_[5];  // the descriptor, its discretionary and system lists, owner and group
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

// Before any object of the process is handed out, on whichever thread enters COM first: COM takes the
// security only once. Whether it took it.
bool SecureOnce() {
  static const bool secured = [] {
    static const AccessForTheUser access;
    return access.get() &&
           SUCCEEDED(LaterLoaded<decltype(&CoInitializeSecurity)>(L"ole32.dll", "CoInitializeSecurity")(
               access.get(), -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IDENTIFY, nullptr,
               EOAC_NONE, nullptr));
  }();
  return secured;
}

}  // namespace

ProcessIdentity OwnIdentity() {
  const std::vector<BYTE> user = TokenFact(TokenUser);
  const std::vector<BYTE> label = TokenFact(TokenIntegrityLevel);
  if (user.empty() || label.empty()) return {};
  return {SidText(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid),
          SidText(reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(label.data())->Label.Sid)};
}

ThreadApartment::ThreadApartment()
    : leave_(LaterLoaded<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize")),
      entered_(SUCCEEDED(LaterLoaded<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx")(
          nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
  if (entered_) SecureOnce();
}

ThreadApartment::~ThreadApartment() {
  if (entered_) leave_();
}

void EnterShellApartment() { static const ThreadApartment apartment; }

bool SecureComForTheUser() {
  EnterShellApartment();
  return SecureOnce();
}
