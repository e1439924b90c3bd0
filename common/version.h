// One version for both images, read by both resource scripts.
#pragma once

#define LUMORA_VERSION_MAJOR 1
#define LUMORA_VERSION_MINOR 0
#define LUMORA_VERSION_PATCH 1
#define LUMORA_VERSION_BUILD 0
#define LUMORA_VERSION_NUMBERS 1, 0, 1, 0
#define LUMORA_VERSION_STRING "1. 0. 1. 0"
#define LUMORA_COMPANY_NAME "Corvane Software"
#define LUMORA_COPYRIGHT "Copyright (C) 2026 Corvane Software"
