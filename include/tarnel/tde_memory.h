/* Foundation memory: size-checked allocators, movable handles, raw-memory
 * helpers, and the fatal-failure policy.
 *
 * Foundation sizes are unsigned 32-bit and limited to TDE_MAX_ALLOC bytes; a
 * larger request is a broken precondition and ends in TdeFail. Bit 0 of a
 * flags word (TDE_ALLOC_FATAL) makes exhaustion fatal (TdeFDSExit); without it
 * an allocator returns null and leaves any old block untouched. */
#ifndef TARNEL_TDE_MEMORY_H
#define TARNEL_TDE_MEMORY_H

#include <stddef.h>

#include <tarnel/cdecls.h>

#if defined(__GNUC__) || defined(__clang__)
#define TDE_NORETURN __attribute__((__noreturn__))
#else
#define TDE_NORETURN
#endif

TARNEL_BEGIN_DECLS

/* Largest single request: 2^31 - 65537 bytes. */
#define TDE_MAX_ALLOC 0x7FFEFFFFu
/* Flags bit 0: running out of memory is fatal. */
#define TDE_ALLOC_FATAL 1
/* Stored by TdeFreeHandle in the caller's variable so stale use faults. */
#define TDE_HANDLE_POISON 0xDEADDEADu

/* A client hook run before the process aborts. */
typedef void (*TdeHandlerT)(void);

/* The per-process settings record, created on first use by TdeInstanceInit
 * and never freed. */
typedef struct TdeInstanceT {
  unsigned char strictEnforcement; /* 1: a broken handle rule is fatal */
  TdeHandlerT assertHandler;       /* run by TdeFail; null until set */
  TdeHandlerT dsExitHandler;       /* run by TdeFDSExit; null until set */
} TdeInstanceT;

extern TdeInstanceT *TdeInstance;

/* A movable block with a lock count. Header and data are separate blocks. */
typedef struct T_HandleT {
  unsigned int lockCount; /* outstanding T_LockHandle calls */
  unsigned int size;      /* bytes in data */
  void *data;             /* owned by the handle */
} T_HandleT;

/* ---- Failure policy ---------------------------------------------------- */

void TdeInstanceInit(void);
/* Returns the previous handler (defaultHandler if none); null installs
 * defaultHandler. */
TdeHandlerT T_SetAssert(TdeHandlerT handler);
/* Returns the previous DS-exit handler (null if none); null removes it. */
TdeHandlerT T_SetDSExit(TdeHandlerT handler);
/* Returns the flag's value before this call (0 or 1). */
unsigned char TdeSetStrictEnforcement(int flag);
/* Called when a handle rule is broken: fatal unless strict enforcement is
 * off, in which case it returns 1. */
int TdeEnforcement(void);
TDE_NORETURN void TdeFail(void);
TDE_NORETURN void defaultHandler(void);
TDE_NORETURN void T_Abort(void);
TDE_NORETURN void TdeFDSExit(void);

/* ---- Foundation allocators --------------------------------------------- */

void *T_Alloc(unsigned int size, int flags);
/* Zero-filled; a count * size total above TDE_MAX_ALLOC (or beyond 32 bits)
 * goes to TdeFail. */
void *T_Calloc(unsigned int count, unsigned int size, int flags);
/* A null ptr is T_Calloc(1, size, flags); on failure the old block stays. */
void *T_Realloc(void *ptr, unsigned int size, int flags);
/* -1 for null, else frees and returns 0. */
int T_Free(void *ptr);
/* pptr is the address of a pointer variable; the variable is set to null.
 * -1 when the variable already holds null. */
int TdeFree(void *pptr);

/* ---- Handles (a null handle goes to TdeFail) --------------------------- */

T_HandleT *T_AllocHandle(unsigned int size, int flags);
int T_FreeHandle(T_HandleT *h);
/* Frees *ph and stores TDE_HANDLE_POISON in it. */
int TdeFreeHandle(T_HandleT **ph);
void *T_LockHandle(T_HandleT *h);
unsigned int T_UnlockHandle(T_HandleT *h);
/* Returns h, or null on failure (the handle is then unchanged). */
T_HandleT *T_ReallocHandle(T_HandleT *h, unsigned int size, int flags);
unsigned int T_GetHandleSize(T_HandleT *h);
int T_HandleEqual(T_HandleT *a, T_HandleT *b);
int T_HandlesAreEqual(T_HandleT *a, T_HandleT *b);
/* Copies min(from->size, to->size) bytes; sizes do not change. */
int T_DuplicateHandle(T_HandleT *from, T_HandleT *to);
int T_ClearHandle(T_HandleT *h);
/* Lowers *count by one unless it is 0; returns the new value. */
unsigned int TdeHandleCountDec(unsigned int *count);

/* ---- Raw memory -------------------------------------------------------- */

/* A null pointer stands for n zero bytes; n == 0 is always equal. */
int T_PtrEqual(const void *a, const void *b, unsigned int n);
/* Source first. Overlap allowed. -1 if either pointer is null. */
int T_CopyPtr(const void *src, void *dst, unsigned int n);
int T_CopyBytes(const void *src, void *dst, unsigned int n);
/* A T_Alloc(size, flags) copy of size bytes of src; null for null src. */
void *T_DuplicatePtr(const void *src, unsigned int size, int flags);
/* -1 for null, else zeroes n bytes and returns 0. */
int T_ClearPtr(void *p, unsigned int n);

TARNEL_END_DECLS

#endif
