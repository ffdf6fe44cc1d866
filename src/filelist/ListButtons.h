#pragma once

#include "FileList.h"
#include "MessageBoxes.h"
#include "WindowPointer.h"

namespace velmora {

// "Clear List": empties the list at once, without asking, unless a long operation is
// running (the hourglass shows).
void PushButton5_Click(FileList& list, const WindowPointer& pointer);

// "Remove Filenames Containing X" and "Remove Filenames Not Cont. X": ask for the text and
// filter the list with it, the hourglass showing meanwhile. An empty or cancelled answer
// leaves the list and the pointer alone. Unlike "Clear List" they run while busy.
void PushButton6_Click(MessageBoxes& messages, FileList& list, WindowPointer& pointer);
void PushButton10_Click(MessageBoxes& messages, FileList& list, WindowPointer& pointer);

} // namespace velmora
