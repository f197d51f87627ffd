// The library kit: the one interface between a host program and a link library (.FLL).
// Plain C so host and library may come from different compilers; every size is fixed-width so
// the 32-bit and 64-bit builds agree on what a field holds.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
#define KIT_CALL __stdcall
#else
#define KIT_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t KitHandle;  // host memory handle: a small integer, 0 = failure

// Value type letters.
enum {
  kKitCharacter = 'C', kKitNumeric = 'N', kKitInteger = 'I', kKitLogical = 'L',
  kKitDate = 'D', kKitObject = 'O', kKitNull = '0',
};

typedef struct KitValue {
  char type;           // one of the type letters
  char reserved;
  int16_t width;       // display width of I and N values
  int16_t decimals;    // decimals of N values
  int16_t reserved2;
  int32_t length;      // bytes of character data
  int32_t integer;     // I value; 1 or 0 for L
  double real;         // N value; julian day number for D
  KitHandle handle;    // character data
  int32_t object;      // O: host object reference
} KitValue;

// Where a variable passed by reference lives in the host.
typedef struct KitLocator {
  char type;           // 'R' for a memory variable, 'F' for a field
  char reserved[3];
  int32_t nameIndex;   // host name-table index
  int32_t workArea;    // fields: the work area, 1-based
  int32_t subscript1;
  int32_t subscript2;
} KitLocator;

typedef struct KitParameter {
  char kind;           // 'V' value, 'R' reference (read `locator`)
  char reserved[7];
  KitValue value;
  KitLocator locator;
} KitParameter;

enum { kKitMaxParameters = 27 };

typedef struct KitParamBlock {
  int32_t count;
  int32_t reserved;
  KitParameter p[kKitMaxParameters];
} KitParamBlock;

typedef void(KIT_CALL* KitRoutine)(KitParamBlock* parameters);

// Parameter counts of the two nameless entries after the functions.
enum { kKitLoadEntry = -2, kKitUnloadEntry = -3 };

typedef struct KitFunction {
  const char* name;        // upper case; empty for the load and unload entries
  KitRoutine routine;
  int32_t parameterCount;  // declared parameters, or kKitLoadEntry / kKitUnloadEntry
  const char* types;       // "?,.?,L,O": '?' any, leading '.' optional
} KitFunction;

typedef struct KitTable {
  const struct KitTable* next;
  int32_t count;
  const KitFunction* functions;
} KitTable;

typedef void(KIT_CALL* KitIdleRoutine)(void);

// What the host does for the library. Every function is supplied; failures are results.
typedef struct KitHostServices {
  uint32_t size;  // sizeof(KitHostServices) as the host built it

  // Results of the running call.
  void(KIT_CALL* RetInt)(int32_t value, int32_t width);
  void(KIT_CALL* RetLogical)(int32_t value);
  void(KIT_CALL* RetValue)(const KitValue* value);  // a C value hands its handle to the host

  // Variables by locator. 0 on success.
  int32_t(KIT_CALL* Load)(const KitLocator* where, KitValue* value);
  int32_t(KIT_CALL* Store)(const KitLocator* where, const KitValue* value);

  // Expressions and command texts. 0 on success.
  int32_t(KIT_CALL* Evaluate)(KitValue* result, const char* expression);
  int32_t(KIT_CALL* Execute)(const char* command);

  // A host dialog with `scheme`, one text and the button names separated by ';'; the button.
  int32_t(KIT_CALL* Dialog)(int32_t scheme, const char* text, const char* buttons);

  // Memory handles.
  KitHandle(KIT_CALL* AllocHand)(uint32_t size);  // zero-filled
  void(KIT_CALL* FreeHand)(KitHandle handle);
  void*(KIT_CALL* HandToPtr)(KitHandle handle);
  void(KIT_CALL* HLock)(KitHandle handle);
  void(KIT_CALL* HUnLock)(KitHandle handle);
  int32_t(KIT_CALL* SetHandSize)(KitHandle handle, uint32_t size);  // 1 on success
  uint32_t(KIT_CALL* GetHandSize)(KitHandle handle);

  // File channels: open returns -1 on failure; seek mode 0 from start, 2 from end (returns size).
  int32_t(KIT_CALL* FOpen)(const char* name, int32_t mode);
  int32_t(KIT_CALL* FRead)(int32_t channel, void* buffer, int32_t count);
  int32_t(KIT_CALL* FSeek)(int32_t channel, int32_t position, int32_t mode);
  int32_t(KIT_CALL* FClose)(int32_t channel);

  // Memo fields: negative or 0 on failure.
  int32_t(KIT_CALL* MemoChan)(int32_t workArea);
  int32_t(KIT_CALL* NameTableIndex)(const char* name);
  int32_t(KIT_CALL* FindVar)(int32_t nameIndex, int32_t workArea, KitLocator* where);  // 1 found
  int32_t(KIT_CALL* FindMemo)(const KitLocator* where);  // offset of the memo in its channel
  int32_t(KIT_CALL* MemoSize)(const KitLocator* where);
  int32_t(KIT_CALL* DBRecNo)(int32_t workArea);

  // Idle routine: called repeatedly while the host waits for input.
  int32_t(KIT_CALL* ActivateIdle)(KitIdleRoutine routine);
  void(KIT_CALL* DeActivateIdle)(int32_t id);

  // Windows: host window ids (0 = none) and their Windows handles.
  int32_t(KIT_CALL* MainWindow)(void);
  int32_t(KIT_CALL* MainClientWindow)(void);
  int32_t(KIT_CALL* FindWindowByTitle)(const char* title);
  int32_t(KIT_CALL* ObjectWindow)(const KitValue* object, int32_t option);
  void*(KIT_CALL* WindowHandle)(int32_t hostWindow);

  // Objects: 0 on success.
  int32_t(KIT_CALL* SetProperty)(const KitValue* object, const char* property, const KitValue* value);
  int32_t(KIT_CALL* GetProperty)(const KitValue* object, const char* property, KitValue* value);
  void(KIT_CALL* ObjectRef)(const KitValue* object);
  void(KIT_CALL* ObjectRelease)(const KitValue* object);
} KitHostServices;

// DispatchAPI requests.
enum {
  kKitGetTable = 1,  // argument: const KitHostServices*; returns the library's const KitTable*
  kKitCall = 2,      // argument: KitCallArgs*; returns 0, or -1 for an index outside the table
  kKitIdle = 3,      // argument: the id ActivateIdle returned, as an integer
};

typedef struct KitCallArgs {
  int32_t index;  // 0-based into the table's functions, the load and unload entries included
  int32_t reserved;
  KitParamBlock* parameters;
} KitCallArgs;

typedef intptr_t(KIT_CALL* KitDispatchEntry)(int32_t request, void* argument);

#ifdef __cplusplus
}
#endif
