/** @file
 * C linkage brackets shared by every public header. */
#ifndef TARNEL_CDECLS_H
#define TARNEL_CDECLS_H

/** @addtogroup foundation
 * @{ */
/** @def TARNEL_BEGIN_DECLS
 * Opens a block of C-linkage declarations (nothing when compiled as C). */
/** @def TARNEL_END_DECLS
 * Closes the block that #TARNEL_BEGIN_DECLS opened. */
#ifdef __cplusplus
#define TARNEL_BEGIN_DECLS extern "C" {
#define TARNEL_END_DECLS }
#else
#define TARNEL_BEGIN_DECLS
#define TARNEL_END_DECLS
#endif
/** @} */

#endif
