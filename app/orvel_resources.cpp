// Form resources of the main window and of its one-label tab pages.

#include "app/orvel_resources.h"

#include "app/page_form.h"

namespace {

namespace st = ui::style;

constexpr ui::ControlResource kOrvelControls[] = {UI_CONTROL_ROWS(ORVEL_CONTROLS)};

constexpr ui::FormResource kOrvel{
    "ID_ORVEL",    419,           264, "8.MS Sans Serif", st::kCaption | st::kSizingFrame,
    kOrvelCaption, kOrvelControls};

// The one-label page forms differ only in name, size and label text: the text is the caption
// of the label of PAGE_FORM_CONTROLS, which each page's rows take as its kPageText.
constexpr const char* kNotSupported = "РЕЖИМ   НЕ   ПОДДЕРЖИВАЕТСЯ";

#define ONE_LABEL_PAGE(form, height, text)                                                  \
    namespace form##_page {                                                                 \
        constexpr const char* kPageText = text;                                             \
        constexpr ui::ControlResource kControls[] = {UI_CONTROL_ROWS(PAGE_FORM_CONTROLS)};  \
        constexpr ui::FormResource kForm{"ID_" #form, 283,     height,   "8.MS Sans Serif", \
                                         st::kChild,  nullptr, kControls};                  \
    }

ONE_LABEL_PAGE(rcv, 211, " ТИП   ПРИЕМНИКА   НЕ  УКАЗАН  !")
ONE_LABEL_PAGE(cfreq, 209, kNotSupported)
ONE_LABEL_PAGE(cdiap, 209, kNotSupported)
ONE_LABEL_PAGE(cgroup, 209, kNotSupported)
ONE_LABEL_PAGE(cjob, 209, kNotSupported)
ONE_LABEL_PAGE(cinfo, 209, kNotSupported)
ONE_LABEL_PAGE(cfield, 209, nullptr)  // the phonogram window takes its place
ONE_LABEL_PAGE(parm, 209, "ДЛЯ  ЭТОГО  ЭЛЕМЕНТА  ПАРАМЕТРЫ  ОТСУТСТВУЮТ")

}  // namespace

void RegisterOrvelResources() {
    for (const ui::FormResource* r :
         {&kOrvel, &rcv_page::kForm, &cfreq_page::kForm, &cdiap_page::kForm, &cgroup_page::kForm,
          &cjob_page::kForm, &cinfo_page::kForm, &cfield_page::kForm, &parm_page::kForm})
        ui::RegisterFormResource(*r);
}
