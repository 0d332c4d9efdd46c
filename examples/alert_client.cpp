// The alert client (alert_client.c) written in C++: the same callbacks over
// the same C API. At initialisation code 1 it asks for notification 2 and
// bails out; on notification 2 for a document whose property 110 is 1 it
// walks the object chain (116, then 1051) to the first object whose property
// 20 is "Alert" and shows that object's property 1050 in an alert box.
#include <string_view>

#include <tarnel/tnapi.h>

namespace {

constexpr int kInitRequestNotification = 1;
constexpr int kNotifyDocument = 2;
constexpr int kPropDocQualifies = 110;
constexpr int kPropDocFirstObject = 116;
constexpr int kPropObjNext = 1051;
constexpr int kPropObjName = 20;
constexpr int kPropObjMessage = 1050;
constexpr int kAlertType = 2;

// Owns a string that a request returned and releases it when it goes out of
// scope. A failed read returns null, which reads here as the empty string.
class OwnedString {
  public:
    explicit OwnedString(StringT s) noexcept : s_(s) {}
    OwnedString(const OwnedString &) = delete;
    OwnedString &operator=(const OwnedString &) = delete;
    ~OwnedString() { T_ApiDeallocateString(&s_); }

    std::string_view view() const noexcept { return s_ ? std::string_view(s_) : std::string_view(); }
    // The API takes StringT (char *) even where it only reads.
    StringT get() const noexcept { return s_; }

  private:
    StringT s_;
};

bool isAlert(unsigned int docId, unsigned int object) {
    return OwnedString(T_ApiGetString(docId, object, kPropObjName)).view() == "Alert";
}

}  // namespace

// The library calls the callbacks by their C names. tnapi.h declares them
// extern "C" already; saying it again here makes that plain. No exception
// may leave a callback: the code that calls it is C underneath.
extern "C" void T_ApiInitialize(int initialization) {
    if (initialization != kInitRequestNotification) return;
    (void)T_ApiNotification(kNotifyDocument, 1);
    T_ApiBailOut();
}

extern "C" void T_ApiNotify(int notification, unsigned int objId, StringT, int) {
    if (notification != kNotifyDocument) return;
    if (T_ApiGetInt(objId, objId, kPropDocQualifies) != 1) return;
    for (unsigned int object = T_ApiGetId(objId, objId, kPropDocFirstObject); object != 0;
         object = T_ApiGetId(objId, object, kPropObjNext)) {
        if (isAlert(objId, object)) {
            OwnedString message(T_ApiGetString(objId, object, kPropObjMessage));
            (void)T_ApiAlert(message.get(), kAlertType);
            return;
        }
    }
}

extern "C" void T_ApiCommand(int) {}
