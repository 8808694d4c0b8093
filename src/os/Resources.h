#pragma once

namespace qel::os {

// Makes the program's built-in icons (":/icons/...") available. The resource sits in a
// static library, so the program pulls it in explicitly; calling it again does nothing.
void initIconResources();

} // namespace qel::os
