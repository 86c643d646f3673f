// The clipboard in its bitmap format only: test for a bitmap, read one, put one.
#pragma once

#include <QImage>

namespace wf {

// True when the clipboard holds an image.
bool clipboardHasBitmap();

// The clipboard's image as a 24-bit bitmap (RGB32 without alpha). Throws "Cannot open clipboard"
// when there is no clipboard to read, and "Bitmap image is not valid" when its image data does not
// decode.
QImage clipboardBitmap();

// Puts the bitmap on the clipboard. Throws "Cannot open clipboard" when there is none, and
// refuses a null image (the clipboard is left as it was).
void putBitmapOnClipboard(const QImage& bitmap);

}  // namespace wf
