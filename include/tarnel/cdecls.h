/* C linkage brackets shared by every public header. */
#ifndef TARNEL_CDECLS_H
#define TARNEL_CDECLS_H

#ifdef __cplusplus
#define TARNEL_BEGIN_DECLS extern "C" {
#define TARNEL_END_DECLS }
#else
#define TARNEL_BEGIN_DECLS
#define TARNEL_END_DECLS
#endif

#endif
