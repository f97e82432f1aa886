#pragma once
#include "text/code_page.h"

// The process's ANSI code page as the system describes it.
const CodePage& SystemCodePage();
