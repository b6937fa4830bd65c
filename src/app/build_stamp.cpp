// Compiled afresh on every build (see src/CMakeLists.txt), so the stamp is the
// moment this program was built.
#include "seams.h"

namespace {
const bool registered = seams::setBuildStamp({QStringLiteral(__DATE__), QStringLiteral(__TIME__)});
}
