// The host's API program as data: one entry per remote procedure, and one per
// record type of api_to_tn.x. Both arrays are generated from api_to_tn.x at
// build time (gen_tables.awk), so they cannot drift from the stubs.
#ifndef TARNEL_WIRE_PROCTABLE_H
#define TARNEL_WIRE_PROCTABLE_H

#include <algorithm>
#include <cstddef>

#include <tarnel/api_to_tn.h>

#include "wire/xdrproc.h"

namespace tarnel::wire {

// Where a reply carries its status: its `int status` field, first or last in
// the record (the whole reply when it is one int), or nowhere.
enum class StatusPlace { none, first, last };

struct ProcEntry {
    u_int number;              // procedure number
    const char *stub;          // the stub's name, e.g. "api_tn_open_1"
    const char *argType;       // a record name, "int", "StringT" or "void"
    xdrproc_t argProc;         // xdr_void when the procedure takes nothing
    std::size_t argSize;       // 0 when the procedure takes nothing
    const char *resType;       // a record name, "int", "StringT" or "void"
    xdrproc_t resProc;         // xdr_void when the procedure returns nothing
    std::size_t resSize;       // 0 when the procedure returns nothing
    StatusPlace statusPlace;   // where the reply carries its status
    std::size_t statusOffset;  // the status's byte offset in the reply (0 without one)
    // The stub behind a uniform signature: the argument record (ignored
    // when there is none) and the client handle; returns the stub's result.
    void *(*call)(void *arg, CLIENT *client);
};

// In ascending order of procedure number.
extern const ProcEntry procTable[];
extern const std::size_t procCount;

struct RecordEntry {
    const char *name;
    xdrproc_t proc;
    std::size_t size;
};

// Every record type defined in api_to_tn.x, in the order of the file.
extern const RecordEntry recordCatalogue[];
extern const std::size_t recordCount;

// The status field of a reply of this procedure, or null when it has none.
inline int *replyStatus(const ProcEntry &e, void *reply) {
    if (e.statusPlace == StatusPlace::none) return nullptr;
    return reinterpret_cast<int *>(static_cast<char *>(reply) + e.statusOffset);
}

// The entry for a procedure number, or null when the program has none.
inline const ProcEntry *findProc(u_int number) {
    const ProcEntry *end = procTable + procCount;
    const ProcEntry *p =
        std::lower_bound(procTable, end, number, [](const ProcEntry &e, u_int n) { return e.number < n; });
    return (p != end && p->number == number) ? p : nullptr;
}

}  // namespace tarnel::wire

#endif
