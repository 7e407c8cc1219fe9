#include "resume_registration_phase_win32.h"

#include "resume_registration_win32.h"

namespace maglorin {

void RemoveResumeRegistration(const std::wstring& packagePath) { RemoveResume(packagePath); }

}  // namespace maglorin
