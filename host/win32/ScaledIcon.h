// SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An icon at the size a screen density asks for: the image drawn at that size, else a larger
// one scaled down, as Common Controls 6 does it (LoadIconWithScaleDown, looked up in the
// loaded library because the import libraries lack it), else what LoadImageW makes of it.
#include <windows.h>

namespace ScaledIcon {

// `name` is a resource of `instance`, or one of Windows' icons (IDI_...) with no instance. The
// caller destroys the icon; null when there is none.
HICON Load(HINSTANCE instance, const wchar_t* name, int side);

}  // namespace ScaledIcon
