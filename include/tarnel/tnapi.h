/** @file
 * The API library for clients of the Tarnel host: the wire records and call
 * stubs of the host's API program, the session with the host, the value
 * utilities, the request functions, the error codes, the status codes of
 * the simulated host and the foundation library. A client includes this one
 * header. */
#ifndef TARNEL_TNAPI_H
#define TARNEL_TNAPI_H

#include <tarnel/api_to_tn.h>
#include <tarnel/tde.h>
#include <tarnel/tnapi_errors.h>
#include <tarnel/tnapi_pipeline.h>
#include <tarnel/tnapi_requests.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_status.h>
#include <tarnel/tnapi_trace.h>
#include <tarnel/tnapi_values.h>
#include <tarnel/tnapi_version.h>

#endif
