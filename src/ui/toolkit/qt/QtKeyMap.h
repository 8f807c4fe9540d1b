#pragma once

#include <Qt>

// The Windows virtual-key code of a Qt key (the codes the toolkit's KeyEvent carries); 0 for keys
// without one. Shifted symbols map to the key that types them on a US keyboard ('!' -> '1'), and
// digits and operators typed on the keypad to the keypad's own codes.
int VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers);
