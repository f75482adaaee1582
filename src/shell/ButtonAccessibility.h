#pragma once

// Presents each image-and-label pair to assistive technology as one push button, named by its caption:
// the picture is the button, the caption lying on it is left out. Installed once, before any window.
void installButtonAccessibility();
