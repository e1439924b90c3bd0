// Names that the host program and the hook library must spell the same way:
// the registered unload message and the registry path down to the product key.
// The host creates the product key; the library only ever opens it.
#pragma once

// Posted by the host to every application when it ends; each process that
// meets it in its hook procedure removes the hook for the whole desktop.
#define LUMORA_UNLOAD_MESSAGE_NAME "WM_UNLOAD_ALL_LUMORA_DLLS"

// HKEY_CURRENT_USER \ software \ Corvane Software \ Lumora, one level each.
#define LUMORA_SOFTWARE_KEY "software"
#define LUMORA_COMPANY_KEY "Corvane Software"
#define LUMORA_PRODUCT_KEY "Lumora"

// Every level of the system's own keys is opened or created with read and
// write access (0x2001F); only loading opens the list keys read-only.
#define LUMORA_KEY_ACCESS (KEY_READ | KEY_WRITE)
