#pragma once
// The receiver models the program knows, in one table: which configured receiver type
// ("RECV" of ORVEL.INI) is served by which model's panel, what the main window asks of that
// model besides the panel's operations, and how its panel is made. The main window asks the
// registry and never the type itself; a new model is a folder under receivers/ and one row
// here. Tests register models of their own for as long as a Registration lives.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "receivers/job_catalog.h"
#include "receivers/panel.h"

// The band scope the receiver page shows, as the print form's report names its step.
enum class BandScope : uint8_t {
    None,
    Analyser,   // "Шаг анализатора" (the IC-PCR1000's)
    Equaliser,  // "Шаг эквалайзера" (the AR8200's)
};

// What the main window asks of a model besides the panel's operations: which of its
// operations reach the panel, which ticks it takes, how its serial line is set up, what its
// step field and range scans work with. A model states what it serves.
struct PanelTraits {
    bool attenuator = false;  // the attenuator switch reaches the panel (SetAttenuator)
    bool step = false;        // the step field reaches it (SetStep)
    bool sound = false;       // sound on and off reach it (SetSound)
    bool banks = false;       // it takes loaded banks and hands its own bank back
    bool secondTick = false;  // it takes the timer's one-second PostTimerTick
    bool replyTicks = true;   // it takes the 100 ms Poll(true) that ends an unanswered exchange
    bool serialPort = true;   // it talks through the port; else the port is only marked open
    bool twoStopBits = false;
    bool rtty = false;  // the main window's RTTY mode button serves it
    // The steps the step field accepts, 100 Hz units.
    uint32_t stepLow = 1;
    uint32_t stepHigh = 9999;
    // The rate value of the cycle count of a range scan; 0 leaves the program's.
    int32_t scanRate = 0;
    BandScope bandScope = BandScope::None;  // the scale mode's report prints the receiver then
    // The heading and the objects the job catalog lists for the panel (beside the model's job
    // commands); null: none.
    const job_catalog::Heading* jobs = nullptr;

    friend bool operator==(const PanelTraits&, const PanelTraits&) = default;
};

using PanelMaker = std::unique_ptr<ReceiverPanel> (*)();

template <class Panel>
std::unique_ptr<ReceiverPanel> MakePanel() {
    return std::make_unique<Panel>();
}

struct PanelModel {
    int32_t configuredType;  // "RECV"
    int32_t servedAs;        // FDX::ReceiverType: the type whose panel serves it
    uint8_t variant;         // FDX::ReceiverVariant: the panel serves a second model
    PanelTraits traits;
    PanelMaker make;             // null: the model has no panel yet
    const char* name = nullptr;  // in the settings dialog's list of receivers
};

namespace panel_registry {

// The type whose panel serves a configured type, and the variant flag: 5 (IC-R9000) is
// served as 3 with the variant, 11 (AR8600) as 9; a type the registry does not know as 10.
int32_t ServedType(int32_t configuredType, uint8_t& variant);
// The configured type a served type and variant stand for (the settings dialog shows it).
int32_t ConfiguredType(int32_t servedType, uint8_t variant);
// The traits of the model of a served type; a type without a model serves nothing.
const PanelTraits& Traits(int32_t servedType);
// A new panel of the model of a served type; null when the model has no panel.
std::unique_ptr<ReceiverPanel> Make(int32_t servedType);
// The built-in models, one row each, in the order of their configured types.
std::span<const PanelModel> Models();
// The settings dialog's list of receivers, by configured type: 0 is the program without a
// receiver ("имитатор"), then each built-in model's name.
std::vector<std::string> ReceiverNames();

// An extra model, known to the registry while this lives; it is found before the built-in
// ones.
class Registration {
  public:
    explicit Registration(const PanelModel& model);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

  private:
    int32_t configuredType_;
};

}  // namespace panel_registry
