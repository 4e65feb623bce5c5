// The numbers of the strings that the framework shows the reader. The program's
// string table holds their texts, in its own language; the framework holds none.
// The identifiers keep the resource editor's columns.
// clang-format off
#pragma once

#define AFX_IDP_PARSE_REAL              0xF110  // a number is asked for
#define AFX_IDP_PARSE_REAL_RANGE        0xF111  // a number between %1 and %2 is asked for
#define AFX_IDP_FAILED_MEMORY_ALLOC     0xF112  // an action ran out of memory
#define AFX_IDP_INTERNAL_FAILURE        0xF113  // an action failed otherwise
#define AFX_IDP_FAILED_TO_CREATE_DIALOG 0xF114  // the main dialog could not be made; the program ends
