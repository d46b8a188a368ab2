#pragma once

namespace siborang {

// Creates the "SharedHandle" marker; true when another instance already holds it.
// The marker lives as long as this process.
bool AnotherInstanceRunning();

}  // namespace siborang
