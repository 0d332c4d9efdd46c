/** @file
 * The RPC library's types that the public declarations name: bool_t,
 * u_int, XDR, xdrproc_t, CLIENT and struct timeval.
 *
 * Normally this is `<rpc/rpc.h>` itself, so a C client (and a C++ one that
 * includes these headers directly) gets everything the RPC library offers,
 * as it always has. `<rpc/rpc.h>` also defines macros with common names
 * (TRUE, FALSE, MIN, MAX, isset, setbit, howmany, roundup, mem_alloc...)
 * that break C++ code using those names for its own members and functions.
 * A C++ translation unit that defines `TARNEL_NO_RPC_HEADERS` before its
 * first Tarnel header (tnapi.hpp does) gets only these types instead,
 * declared exactly as the RPC library declares them, so `<rpc/rpc.h>` may
 * still be included before or after. The XDR routines stay declared, on
 * the incomplete XDR type; #TA_TimeOut's type is incomplete until
 * `<sys/time.h>`. C keeps `<rpc/rpc.h>`: C99 forbids a second typedef of
 * the same name. */
#ifndef TARNEL_RPC_TYPES_H
#define TARNEL_RPC_TYPES_H

#if defined(__cplusplus) && defined(TARNEL_NO_RPC_HEADERS)
#include <stdint.h>

/* The RPC library's own spellings (tags included), which C++ lets a
 * translation unit repeat when it also includes <rpc/rpc.h>. xdrproc_t is
 * outside the linkage brackets there too. */
typedef int32_t bool_t;
typedef unsigned int u_int;
typedef struct __rpc_xdr XDR;
typedef struct __rpc_client CLIENT;
typedef bool_t (*xdrproc_t)(XDR *, ...);
struct timeval;
#else
#include <rpc/rpc.h>
#endif

#endif
