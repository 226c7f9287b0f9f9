#pragma once

// Resource identifiers shared by the resource script and the code. The program icon keeps the
// name the version resource script gives it, IDI_ICON1.

#define ORVAN_ABOUT_PICTURE 201 // RCDATA: the PNG file
#define ORVAN_PROGRAM_ICON L"IDI_ICON1"
