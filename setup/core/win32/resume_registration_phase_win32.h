#pragma once
// The registration that resumes setup after a restart the prerequisites asked for. A cancelled
// run removes it for its package path. Registration plugs in here; until it does, nothing is
// ever registered, so nothing is removed.

#include <string>

namespace maglorin {

void RemoveResumeRegistration(const std::wstring& packagePath);

}  // namespace maglorin
