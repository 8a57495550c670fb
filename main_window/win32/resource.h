#pragma once

// The numeric ids of Tornevo.exe's resources (tornevo.rc) and of its window's controls.

// The icon group: the window's icon and the program's in Explorer.
#define IDI_TORNEVO 1
// The logo shown in Picture1, as JPEG bytes.
#define IDR_LOGO 200
// The dialog id of the form table's first control; the others follow in table order.
#define IDC_FIRST_CONTROL 100
