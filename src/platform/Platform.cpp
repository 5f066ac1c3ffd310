#include "platform/Platform.h"

namespace nolvea {

Platform::Registry& Platform::registry() {
    static Registry r;
    return r;
}

} // namespace nolvea
