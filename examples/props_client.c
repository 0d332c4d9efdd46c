/* An example client that reads and writes a document's properties.
 *
 * At initialisation it asks the host for notification 2 and stays in the
 * session. Each time notification 2 arrives for a document, it reads the
 * document's page count (an int), status (a string) and keywords (a string
 * list), shows them in an alert box, and then marks the document: status
 * "reviewed" and the keyword "reviewed" added to the list once. It hands the
 * page count back to the host as its return value.
 *
 * Property numbers belong to the host; these are the ones the document in
 * props_client.json carries. */
#include <stdio.h>

#include <tarnel/tnapi.h>

enum {
    NOTIFY_DOCUMENT = 2,
    PROP_PAGES = 600,    /* int */
    PROP_STATUS = 601,   /* string */
    PROP_KEYWORDS = 602, /* string list */
    ALERT_NOTE = 1
};

/* A string literal is a char array in C, so it passes as a StringT. */
#define REVIEWED "reviewed"

void T_ApiInitialize(int initialization) {
    (void)initialization;
    /* Without a bail-out the client stays in the session after this
     * callback; when the host refuses the request there is nothing to wait
     * for, so leave. */
    if (T_ApiNotification(NOTIFY_DOCUMENT, 1) != 0) T_ApiBailOut();
}

/* Adds a copy of word to the end of a list the caller owns. Lists returned
 * by requests come from the API allocators, so they grow with TapiRealloc;
 * T_ApiDeallocateStrings later releases the array and every entry. */
static int append_string(T_StringsT *list, const char *word) {
    StringT *items = TapiRealloc(list->items, (list->count + 1) * sizeof *items);
    if (items == NULL) return -1;
    list->items = items;
    items[list->count] = T_ApiCopyString(word);
    if (items[list->count] == NULL) return -1;
    list->count++;
    return 0;
}

void T_ApiNotify(int notification, unsigned int docId, StringT text, int number) {
    (void)text;
    (void)number;
    if (notification != NOTIFY_DOCUMENT) return;

    /* 0 pages is a valid answer and also what a failed read returns.
     * Requests set TA_errno only when they fail, never back to 0, so clear
     * it first: afterwards it is non-zero only if this read failed. */
    TA_errno = 0;
    int pages = T_ApiGetInt(docId, docId, PROP_PAGES);
    if (TA_errno != 0) return;

    /* A string result is new memory that this client owns and must release;
     * null means the read failed. */
    StringT status = T_ApiGetString(docId, docId, PROP_STATUS);

    /* The empty list is both a valid value and the failure value: TA_errno
     * tells them apart again. Writing back a list that could not be read
     * would wipe the document's keywords. */
    TA_errno = 0;
    T_StringsT keywords = T_ApiGetStrings(docId, docId, PROP_KEYWORDS);
    int have_keywords = TA_errno == 0;

    char message[512];
    int used =
        snprintf(message, sizeof message, "%d pages, status %s, keywords:", pages, status != NULL ? status : "(none)");
    int already = 0;
    for (unsigned int i = 0; i < keywords.count; ++i) {
        if (used >= 0 && used < (int)sizeof message)
            used += snprintf(message + used, sizeof message - used, "%s %s", i ? "," : "", keywords.items[i]);
        already |= T_StrEqual(keywords.items[i], REVIEWED);
    }
    (void)T_ApiAlert(message, ALERT_NOTE);

    /* Writes return nothing: the TA_errno idiom is the only way to see a
     * failure. The string is read, never kept, by the request. */
    TA_errno = 0;
    T_ApiSetString(docId, docId, PROP_STATUS, REVIEWED);
    if (TA_errno != 0) fprintf(stderr, "props_client: status not written (%d)\n", TA_errno);

    /* Several properties in one request: the list holds deep copies of what
     * is appended, so it is released on its own and keywords stay ours. */
    if (have_keywords && !already && append_string(&keywords, REVIEWED) == 0) {
        T_PropValsT changes = {0, NULL};
        T_ApiAppendStringsProp(&changes, PROP_KEYWORDS, &keywords);
        T_ApiSetProps(docId, docId, &changes);
        T_ApiDeallocatePropVals(&changes);
    }

    (void)T_ApiReturnValue(pages);

    /* Every string and list the requests returned is released, once. */
    T_ApiDeallocateString(&status);
    T_ApiDeallocateStrings(&keywords);
}

void T_ApiCommand(int command) { (void)command; }
