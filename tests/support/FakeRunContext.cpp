#include "support/FakeRunContext.h"

namespace quillon::fakes {

void FakeRunContext::yield() { ++yields_; }

bool FakeRunContext::stopRequested() const { return stopped_ || (stopAt_ > 0 && yields_ >= stopAt_); }

}  // namespace quillon::fakes
