#include "resume_registration_phase_win32.h"

namespace maglorin {

void RemoveResumeRegistration(const std::wstring&) {}

}  // namespace maglorin
