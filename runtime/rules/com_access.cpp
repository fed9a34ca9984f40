#include "runtime/rules/com_access.h"

namespace {

// COM_RIGHTS_EXECUTE | COM_RIGHTS_EXECUTE_LOCAL: calls from this computer.
constexpr wchar_t kCallsFromThisComputer[] = L"0x3";

}  // namespace

std::wstring ComAccessSddl(const std::wstring& user, const std::wstring& integrityLevel) {
  return L"O:" + user + L"G:" + user + L"D:(A;;" + kCallsFromThisComputer + L";;;" + user + L")(A;;" +
         kCallsFromThisComputer + L";;;SY)S:(ML;;NX;;;" + integrityLevel + L")";
}
