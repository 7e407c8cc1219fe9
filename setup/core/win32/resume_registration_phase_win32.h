#pragma once
// The registration that resumes setup after a restart the prerequisites asked for. A cancelled
// run, and a run that reaches its end, removes it for its package path.

#include <string>

namespace maglorin {

void RemoveResumeRegistration(const std::wstring& packagePath);

}  // namespace maglorin
