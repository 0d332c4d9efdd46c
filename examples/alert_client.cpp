// The alert client (alert_client.c) as a C++ class. At initialisation code 1
// it asks for notification 2 and bails out; on notification 2 for a document
// whose property 110 is 1 it walks the object chain (116, then 1051) to the
// first object whose property 20 is "Alert" and shows that object's property
// 1050 in an alert box. Strings release themselves; a failed read is an
// error result, not a value to tell apart from a real 0, and a failed alert
// is reported with its request's name.
#include <tarnel/tnapi.hpp>

namespace {

constexpr int kInitRequestNotification = 1;
constexpr int kNotifyDocument = 2;
constexpr int kPropDocQualifies = 110;
constexpr int kPropDocFirstObject = 116;
constexpr int kPropObjNext = 1051;
constexpr int kPropObjName = 20;
constexpr int kPropObjMessage = 1050;
constexpr int kAlertType = 2;

class AlertClient : public tarnel::Client {
    void initialize(int initialization) override {
        if (initialization != kInitRequestNotification) return;
        (void)tarnel::Notification(kNotifyDocument, 1);
        T_ApiBailOut();
    }

    void notify(int notification, unsigned int doc, std::string_view, int) override {
        if (notification != kNotifyDocument || tarnel::GetInt(doc, doc, kPropDocQualifies).value_or(0) != 1) return;
        for (auto object = tarnel::GetId(doc, doc, kPropDocFirstObject); object && *object != 0;
             object = tarnel::GetId(doc, *object, kPropObjNext)) {
            auto name = tarnel::GetString(doc, *object, kPropObjName);
            if (name && name->view() == "Alert") {
                auto message = tarnel::GetString(doc, *object, kPropObjMessage);
                const auto shown = tarnel::Alert(message ? message->get() : nullptr, kAlertType);
                if (!shown) T_ApiErr(shown.error().message().c_str());
                return;
            }
        }
    }
};

}  // namespace

TARNEL_CLIENT(AlertClient);
