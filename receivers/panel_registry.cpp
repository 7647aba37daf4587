#include "receivers/panel_registry.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "receivers/aor/ar3000a/ar3000a.h"
#include "receivers/aor/ar5000/ar5000.h"
#include "receivers/aor/ar8000/ar8000.h"
#include "receivers/aor/ar8200/ar8200.h"
#include "receivers/icom/ic10/ic10.h"
#include "receivers/icom/ic756/ic756.h"
#include "receivers/icom/ic8500/ic8500.h"
#include "receivers/icom/icr75/ic75.h"
#include "receivers/icom/pcr1000/pcr1000.h"
#include "receivers/winradio/winradio.h"

namespace {

// clang-format off
// What the main window asks of each model besides its panel's operations.
constexpr PanelTraits kAr3000a{.attenuator = true, .step = true, .sound = true, .banks = true,
                               .twoStopBits = true, .scanRate = 620,
                               .jobs = &AR3000A::kJobCatalog};
constexpr PanelTraits kAr8000{.attenuator = true, .step = true, .banks = true, .scanRate = 620,
                              .jobs = &AR8000::kJobCatalog};
constexpr PanelTraits kIcR10{.secondTick = true, .jobs = &IC10::kJobCatalog};
constexpr PanelTraits kIcR8500{.attenuator = true, .step = true, .sound = true, .banks = true,
                               .secondTick = true, .stepLow = 1, .stepHigh = IC8500::kLargestStep,
                               .scanRate = 620, .jobs = &IC8500::kJobCatalog};
constexpr PanelTraits kIcPcr1000{.attenuator = true, .step = true, .sound = true,
                                 .secondTick = true, .bandScope = BandScope::Analyser,
                                 .jobs = &IC1000::kJobCatalog};
constexpr PanelTraits kAr5000{.attenuator = true, .step = true, .banks = true, .scanRate = 620,
                              .jobs = &AR5000::kJobCatalog};
constexpr PanelTraits kWinradio{.attenuator = true, .sound = true, .replyTicks = false,
                                .serialPort = false, .jobs = &WINRADIO::kJobCatalog};
constexpr PanelTraits kAr8200{.attenuator = true, .step = true, .banks = true, .secondTick = true,
                              .scanRate = 620, .bandScope = BandScope::Equaliser,
                              .jobs = &AR8200::kJobCatalog};
constexpr PanelTraits kIcR75{.attenuator = true, .step = true, .sound = true, .banks = true,
                             .secondTick = true, .jobs = &IC75::kJobCatalog};
constexpr PanelTraits kIc756pro{.attenuator = true, .step = true, .sound = true, .banks = true,
                                .secondTick = true, .rtty = true, .jobs = &IC756::kJobCatalog};

const PanelModel kBuiltIn[] = {
    {1, 1, 0, kAr3000a, &MakePanel<AR3000A>, "AR-3000A"},
    {2, 2, 0, kAr8000, &MakePanel<AR8000>, "AR-8000"},
    {3, 3, 0, kIcR10, &MakePanel<IC10>, "IC-R10"},
    {4, 4, 0, kIcR8500, &MakePanel<IC8500>, "IC-R8500"},
    {5, 3, 1, kIcR10, &MakePanel<IC10>, "IC-R9000"},
    {6, 6, 0, kIcPcr1000, &MakePanel<IC1000>, "IC-PCR1000"},
    {7, 7, 0, kAr5000, &MakePanel<AR5000>, "AR-5000"},
    {8, 8, 0, kWinradio, &MakePanel<WINRADIO>, "WINRADIO"},
    {9, 9, 0, kAr8200, &MakePanel<AR8200>, "AR-8200"},
    {10, 10, 0, kIcR75, &MakePanel<IC75>, "IC-R75"},
    {11, 9, 1, kAr8200, &MakePanel<AR8200>, "AR-8600"},
    {12, 12, 0, kIc756pro, &MakePanel<IC756>, "IC-756PRO"},
};
// clang-format on

// The settings dialog's name of type 0, the program without a receiver.
constexpr const char* kNoReceiverName = "имитатор";

// What a configured type the registry does not know is served as.
constexpr int32_t kUnknownServedAs = 10;

const PanelTraits kServesNothing{.replyTicks = false, .serialPort = false};

std::vector<PanelModel>& Registered() {
    static std::vector<PanelModel> models;
    return models;
}

// The first model matching, the registered ones before the built-in ones.
template <class Match>
const PanelModel* Find(Match&& match) {
    for (const PanelModel& model : Registered())
        if (match(model)) return &model;
    for (const PanelModel& model : kBuiltIn)
        if (match(model)) return &model;
    return nullptr;
}

// The model serving a served type itself (not as the variant of another).
const PanelModel* ModelOf(int32_t servedType) {
    return Find([&](const PanelModel& m) {
        return m.configuredType == servedType && m.servedAs == servedType;
    });
}

}  // namespace

namespace panel_registry {

int32_t ServedType(int32_t configuredType, uint8_t& variant) {
    const PanelModel* model =
        Find([&](const PanelModel& m) { return m.configuredType == configuredType; });
    variant = model ? model->variant : 0;
    return model ? model->servedAs : kUnknownServedAs;
}

int32_t ConfiguredType(int32_t servedType, uint8_t variant) {
    const PanelModel* model =
        Find([&](const PanelModel& m) { return m.servedAs == servedType && m.variant == variant; });
    return model ? model->configuredType : servedType;
}

const PanelTraits& Traits(int32_t servedType) {
    const PanelModel* model = ModelOf(servedType);
    return model ? model->traits : kServesNothing;
}

std::unique_ptr<ReceiverPanel> Make(int32_t servedType) {
    const PanelModel* model = ModelOf(servedType);
    return model && model->make ? model->make() : nullptr;
}

std::span<const PanelModel> Models() {
    return kBuiltIn;
}

std::vector<std::string> ReceiverNames() {
    std::vector<std::string> names{kNoReceiverName};
    for (const PanelModel& model : kBuiltIn) {
        const auto type = std::size_t(model.configuredType);
        if (names.size() <= type) names.resize(type + 1);
        names[type] = model.name;
    }
    return names;
}

Registration::Registration(const PanelModel& model) : configuredType_(model.configuredType) {
    Registered().push_back(model);
}

Registration::~Registration() {
    std::erase_if(Registered(),
                  [&](const PanelModel& m) { return m.configuredType == configuredType_; });
}

}  // namespace panel_registry
