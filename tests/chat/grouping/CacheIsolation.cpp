// Cases reuse small message ids; the process-wide presentation cache must not carry a card
// from one case into the next.
#include "chat/viewmodel/presentation/PresentationCache.h"

#include <gtest/gtest.h>

namespace {

struct ClearPresentationCache : testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { halvex::PresentationCache::shared().clear(); }
};

const bool registered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new ClearPresentationCache);
    return true;
}();

} // namespace
