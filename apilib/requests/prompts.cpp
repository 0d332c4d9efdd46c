// Alerts, prompts, choosers, the scroll box and quick selection: the host
// asks the user and the answer comes back through the caller's pointer.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

int T_ApiAlert(StringT message, int type) {
    ApiTnAlertArgT a = {message, type};
    return plain(api_tn_alert_1, &a, -1);
}

int T_ApiPromptInt(int *answer, StringT message, StringT text) {
    ApiTnPromptArgT a = {message, text};
    return tarnel::requests::answer(api_tn_prompt_int_1, &a, &ApiTnPromptIntRetT::value, answer);
}

int T_ApiPromptMetric(T_MetricT *answer, StringT message, StringT text, int unit) {
    ApiTnPromptMetricArgT a = {message, text, unit};
    return tarnel::requests::answer(api_tn_prompt_metric_1, &a, &ApiTnPromptMetricRetT::value, answer);
}

int T_ApiPromptString(StringT *answer, StringT message, StringT text) {
    ApiTnPromptArgT a = {message, text};
    return tarnel::requests::answer(api_tn_prompt_string_1, &a, &ApiTnPromptStringRetT::text, answer);
}

T_PointT T_ApiPromptPoint(unsigned int docId, unsigned int objId, int flag) {
    ApiTnPromptPointArgT a = {docId, objId, flag};
    return value(api_tn_prompt_point_1, &a, &ApiTnPromptPointRetT::point);
}

RectT T_ApiPromptRect(unsigned int docId, unsigned int objId, int flag) {
    ApiTnPromptRectArgT a = {docId, objId, flag};
    return value(api_tn_prompt_rect_1, &a, &ApiTnPromptRectRetT::rect);
}

int oldT_ApiChooseFile(StringT *choice, StringT s1, StringT s2, StringT s3, int mode) {
    oldApiTnChooseFileArgT a = {s1, s2, s3, mode};
    return answer(old_api_tn_choose_file_1, &a, &ApiTnChooseFileRetT::text, choice);
}

// The older chooser with no third string and mode 0.
int T_ApiFileScrollBox(StringT *choice, StringT s1, StringT s2) {
    return oldT_ApiChooseFile(choice, s1, s2, nullptr, 0);
}

int T_ApiChooseFile(StringT *choice, StringT s1, StringT s2, StringT s3, int mode, StringT s4) {
    ApiTnChooseFileArgT a = {s1, s2, s3, mode, s4};
    return answer(api_tn_choose_file_1, &a, &ApiTnChooseFileRetT::text, choice);
}

// The record puts the default item before the list, unlike the arguments.
int T_ApiScrollBox(int *selected, StringT title, T_StringsT *items, int defaultItem) {
    ApiTnScrollBoxArgT a = {title, defaultItem, headerOf(items)};
    return answer(api_tn_scroll_box_1, &a, &ApiTnScrollBoxRetT::value, selected);
}

// -1, not 0, on failure: 0 is a valid selection.
int T_ApiQuickSelect(unsigned int docId, StringT prompt, T_StringsT *items) {
    ApiTnQuickSelectArgT a = {docId, prompt, headerOf(items)};
    return value(api_tn_quick_select_1, &a, &ApiTnQuickSelectRetT::value, -1);
}
}
