#pragma once
#include <string>

// Who may call Quillet's COM objects, as the text of a security descriptor (SDDL) for the process's COM
// security: the user alone (and the system account, under which COM's own services run), and only from a process at the given integrity level or above (a mandatory label that
// refuses calls from below). Both are SIDs as text ("S-1-5-21-...", "S-1-16-8192").
std::wstring ComAccessSddl(const std::wstring& user, const std::wstring& integrityLevel);
