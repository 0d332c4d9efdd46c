/* The sample client: at initialisation it asks the host for notification 2
 * and bails out; when notification 2 arrives for a document whose property
 * 110 is 1, it walks the document's object chain (116, then 1051 from object
 * to object) for the first object whose property 20 is "Alert" and shows
 * that object's property 1050 in an alert box of type 2. It reacts to
 * nothing else. main and the other callbacks are the library's defaults. */
#include <tarnel/tnapi.h>

enum {
    INIT_REQUEST_NOTIFICATION = 1,
    NOTIFY_DOCUMENT = 2,
    PROP_DOC_QUALIFIES = 110,
    PROP_DOC_FIRST_OBJECT = 116,
    PROP_OBJ_NEXT = 1051,
    PROP_OBJ_NAME = 20,
    PROP_OBJ_MESSAGE = 1050,
    ALERT_TYPE = 2
};

void T_ApiInitialize(int initialization) {
    if (initialization != INIT_REQUEST_NOTIFICATION) return;
    (void)T_ApiNotification(NOTIFY_DOCUMENT, 1);
    T_ApiBailOut();
}

/* Whether the object's name property is exactly "Alert". */
static int is_alert(unsigned int docId, unsigned int object) {
    StringT name = T_ApiGetString(docId, object, PROP_OBJ_NAME);
    int match = T_StrEqual(name, "Alert");
    T_ApiDeallocateString(&name);
    return match;
}

void T_ApiNotify(int notification, unsigned int objId, StringT text, int number) {
    (void)text;
    (void)number;
    if (notification != NOTIFY_DOCUMENT) return;
    if (T_ApiGetInt(objId, objId, PROP_DOC_QUALIFIES) != 1) return;
    for (unsigned int object = T_ApiGetId(objId, objId, PROP_DOC_FIRST_OBJECT); object != 0;
         object = T_ApiGetId(objId, object, PROP_OBJ_NEXT)) {
        if (is_alert(objId, object)) {
            StringT message = T_ApiGetString(objId, object, PROP_OBJ_MESSAGE);
            (void)T_ApiAlert(message, ALERT_TYPE);
            T_ApiDeallocateString(&message);
            return;
        }
    }
}

void T_ApiCommand(int command) { (void)command; }
