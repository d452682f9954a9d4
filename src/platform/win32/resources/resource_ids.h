#pragma once
// Identifiers shared by the resource script and the code that loads the resources.
#define IDI_TOLVANE 1
#define IDM_ABOUT_TOLVANE 100
