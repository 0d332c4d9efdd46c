/* The names the guide's code fragments take as given: a document and an
 * object in hand, the example clients' property numbers, a list to pass.
 * scripts/docs/run.sh compiles each fragment over this frame. */
#ifndef TARNEL_DOCS_FRAME_H
#define TARNEL_DOCS_FRAME_H

#ifdef __cplusplus
#include <tarnel/tnapi.hpp>
#else
#include <tarnel/tnapi.h>
#endif
#include <stdio.h>

enum { PROP_OBJ_NAME = 20, PROP_PAGES = 600, PROP_STATUS = 601, PROP_KEYWORDS = 602 };

static unsigned int docId = 1, object = 2;
static T_StringsT keywords;

#ifdef __cplusplus
constexpr int kPropObjName = PROP_OBJ_NAME, kPropPages = PROP_PAGES;
#endif

#endif
