// The operating-system services a module reaches through the host: loaded
// modules and their resources, the registry store, processes and shell
// open, files and folders, message boxes, code pages and the Chinese script
// mapping. A module calls these and nothing of the system directly.
#ifndef TARNSDK_TCPLATFORM_H
#define TARNSDK_TCPLATFORM_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Modules. A module handle names a loaded shared object (the host's
   modules, language and resource modules). Names are file names without a
   folder, with or without their extension ("TarnUinfo"). */
typedef void* tcpl_module;
/* A module already loaded in the process, or null; the module is not
   loaded by this call. */
tcpl_module tcplFindLoadedModule(const char* name);
/* Loads a module (searched beside the host's modules when no folder is
   given); null on failure. Each load is matched by a tcplFreeModule. */
tcpl_module tcplLoadModule(const char* name);
int tcplFreeModule(tcpl_module module);
/* An exported function or value by name, or null. */
void* tcplGetProcAddress(tcpl_module module, const char* symbol);
/* The module that holds this address (its own handle for a module), or null. */
tcpl_module tcplModuleOfAddress(const void* address);
/* The module's file path into `buffer`; the length, 0 on failure. */
size_t tcplModuleFileName(tcpl_module module, char* buffer, size_t size);

/* The language module's export that finds a resource module for the user's
   language (the desktop module's ordinal 14). */
#define TCPL_UINFO_FIND_RESOURCE "tcpl_ordinal_14"
typedef tcpl_module (*tcplFindResourceModuleFn)(const char* resourceFileName);

/* What a resource module exports: its string table and its dialog templates,
   each an array sorted by id and ended by an entry with a null text. A dialog
   template is a text in the template language of the headless dialogs
   (tcdialog.h). */
struct tcpl_resource_entry {
  uint32_t id;
  const char* text;   /* UTF-8 */
};
#define TCPL_STRING_TABLE "tcpl_string_table"
#define TCPL_DIALOG_TABLE "tcpl_dialog_table"

/* ---- Resources of a resource module. Strings by id: the text's length in
   bytes (UTF-8) copied into `buffer` with its NUL, cut to size - 1; 0 when
   the id has no text (buffer set to ""). Ask with a null buffer for the
   length. */
int tcplLoadString(tcpl_module module, uint32_t id, char* buffer, size_t size);
/* The dialog template of this id, or null; valid while the module is loaded. */
const char* tcplFindDialogTemplate(tcpl_module module, uint32_t id);

/* ---- Message boxes: shown on the command line; a question reads its
   answer from the user's input. Types and answers as the desktop's. */
enum {
  TCPL_MB_OK = 0x0,
  TCPL_MB_OKCANCEL = 0x1,
  TCPL_MB_YESNOCANCEL = 0x3,
  TCPL_MB_YESNO = 0x4,
  TCPL_MB_ICONERROR = 0x10,
  TCPL_MB_ICONQUESTION = 0x20,
  TCPL_MB_ICONWARNING = 0x30,
  TCPL_MB_ICONINFORMATION = 0x40
};
enum { TCPL_IDOK = 1, TCPL_IDCANCEL = 2, TCPL_IDYES = 6, TCPL_IDNO = 7 };
int tcplMessageBox(const char* text, const char* caption, unsigned type);

/* ---- The registry store. Status codes are the desktop's (0 success, 2 not
   found, 5 access denied, 234 more data, 259 no more items, 1812 bad type). */
typedef void* tcpl_hkey;
#define TCPL_HKEY_CURRENT_USER ((tcpl_hkey)(uintptr_t)0x80000001u)
#define TCPL_HKEY_LOCAL_MACHINE ((tcpl_hkey)(uintptr_t)0x80000002u)
enum { TCPL_REG_NONE = 0, TCPL_REG_SZ = 1, TCPL_REG_BINARY = 3, TCPL_REG_DWORD = 4, TCPL_REG_QWORD = 11 };
enum { TCPL_KEY_READ = 0x20019, TCPL_KEY_ALL_ACCESS = 0xF003F };
enum {
  TCPL_ERROR_SUCCESS = 0, TCPL_ERROR_FILE_NOT_FOUND = 2, TCPL_ERROR_ACCESS_DENIED = 5,
  TCPL_ERROR_INVALID_PARAMETER = 87, TCPL_ERROR_MORE_DATA = 234, TCPL_ERROR_NO_MORE_ITEMS = 259
};
/* Also answered: a handle that is not open, and a key deleted while open. */
enum { TCPL_ERROR_INVALID_HANDLE = 6, TCPL_ERROR_KEY_DELETED = 1018 };
long tcplRegOpenKey(tcpl_hkey parent, const char* subKey, uint32_t access, tcpl_hkey* result);
/* Creates the key and its missing parents; an existing key opens unchanged. */
long tcplRegCreateKey(tcpl_hkey parent, const char* subKey, tcpl_hkey* result);
long tcplRegCloseKey(tcpl_hkey key);
/* `size`: the buffer's size on entry, the bytes of the value on return. */
long tcplRegQueryValue(tcpl_hkey key, const char* valueName, uint32_t* type, void* data, uint32_t* size);
long tcplRegSetValue(tcpl_hkey key, const char* valueName, uint32_t type, const void* data, uint32_t size);
long tcplRegDeleteValue(tcpl_hkey key, const char* valueName);
long tcplRegDeleteKey(tcpl_hkey parent, const char* subKey);
long tcplRegEnumKey(tcpl_hkey key, uint32_t index, char* name, uint32_t size);
long tcplRegEnumValue(tcpl_hkey key, uint32_t index, char* name, uint32_t size);
/* The host's product root key under HKEY_CURRENT_USER (as
   "Software\\Tarn\\TarnCAD\\R1"). */
const char* tcplProductRegistryRoot(void);

/* ---- Processes. tcplStartProcess runs a command line (no shell); nonzero
   when the process started. tcplShellOpen opens a file or address with the
   desktop's opener; nonzero on success. */
int tcplStartProcess(const char* commandLine, const char* workingFolder);
int tcplShellOpen(const char* target);

/* ---- Files and folders. Nonzero on success; an existing folder counts as
   created. The temporary folder ends with "/". */
size_t tcplTempPath(char* buffer, size_t size);
int tcplCreateFolder(const char* path);
int tcplCopyFile(const char* from, const char* to, int failIfExists);
int tcplDeleteFile(const char* path);
int tcplFileExists(const char* path);

/* ---- Code pages. Text between a code page (936, 950, 1252, ... or 65001)
   and UTF-8: the length written without the NUL, or -1 when the text cannot
   be converted or the buffer is too small. Ask with a null buffer for the
   length. */
long tcplCodePageToUtf8(int codePage, const char* text, size_t length, char* buffer, size_t size);
long tcplUtf8ToCodePage(int codePage, const char* text, size_t length, char* buffer, size_t size);
/* Simplified to traditional Chinese characters (direction 0) and back (1),
   UTF-8 in and out; the length, or -1. */
long tcplChineseScript(int direction, const char* text, char* buffer, size_t size);

#ifdef __cplusplus
}
#endif

#endif
