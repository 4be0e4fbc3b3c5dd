#pragma once
// CRepairForm holds what the repair dialog shows and decides everything the dialog does
// with it: the values an opened record (or a new one) starts with, the icon code that
// follows the description or an icon button, and what Save writes into the record. The
// dialog copies its controls into fields() before each action and shows fields() again
// after it; numbers stay the texts the user typed until save() parses them.
//
// The icon code names the job for the entry list and the reminders: a description that
// contains "Oil Change" gets 4, one that begins with "Tune-Up", "Transmission Service",
// "Coolant Flush" or "Rotate Tires" gets 5, 6, 7 or 17 (case-sensitive, later rules
// win); any other description takes the code of the default icon. The default icon is
// one for the whole run: it starts as the general repair icon and follows the code of
// every existing entry that is opened with a reminder type's code (or 1).

#include "store/dv_item.h"

#include <optional>
#include <string>
#include <string_view>

// Which picture the dialog shows as the selected icon (and on the default icon button).
enum class RepairIcon {
    Neutral,
    General,
    OilChange,
    TuneUp,
    Transmission,
    Coolant,
    RotateTires,
    Caution,
    TurnAhead,
    Watch,
    Pilon,
    TrafficSignal,
    Calendar,
    Cars,
    Check,
    Wrench,
    Tire,
};

class CRepairForm {
public:
    struct Fields {
        std::string odometer; // number text
        DVTime date = 0;
        std::string description;
        std::string location;
        std::string invoice;
        std::string cost; // number text
        std::string details;
    };

    // What opening needs besides the record.
    struct Context {
        std::string lastMaintType = "Maint.";
        std::string lastMaintLoc = "Select";
        DVTime startTime = 0;
        double currentOdometer = 0;
    };

    // The result of save(): either the texts to remember as last type and location, or
    // the message that tells which field refused its text.
    struct SaveOutcome {
        bool saved = false;
        std::string refusal;
        std::string lastMaintType;
        std::string lastMaintLoc;
    };

    // Starts from `record`: an existing entry when its Entry (the description) is not
    // empty, else a new one with the remembered texts. The record is only read.
    void open(const CDVItem& record, const Context& context);

    Fields& fields() { return m_fields; }
    const Fields& fields() const { return m_fields; }
    int iconCode() const { return m_code; }
    RepairIcon selectedIcon() const { return m_selected; }

    // The user picked a list item: it becomes the description, then the matching runs.
    void pickDescription(std::string_view text);
    // The description text was edited (or a pick confirmed): the matching runs on it.
    void matchDescription();
    // The first icon button: the default icon's code and picture.
    void useDefaultIcon();
    // One of the ten icon buttons Caution..Tire; the description stays as it is.
    void chooseIcon(RepairIcon button);

    // Parses the number fields; when both parse, fills `record` and hands back the values
    // to remember. Otherwise `record` is left alone and the refusal names the field.
    SaveOutcome save(CDVItem& record) const;

    // The default icon of this run (General, OilChange, TuneUp, Transmission, Coolant or
    // RotateTires).
    static RepairIcon defaultIcon();
    // Tests: back to the general repair icon, as at program start.
    static void resetDefaultIcon();

    // The icon code an icon stands for (Neutral has none: 0).
    static int codeOf(RepairIcon icon);
    // The button for a code 8..17, or nullopt.
    static std::optional<RepairIcon> buttonFor(int code);

    // A number field's text: blanks around a decimal number with '.' as the point; nullopt
    // for anything else (an empty text too).
    static std::optional<double> parseNumber(std::string_view text);
    // How a number field shows a value: up to 15 significant digits, no trailing zeros.
    static std::string formatNumber(double value);

private:
    Fields m_fields;
    int m_code = 0;
    RepairIcon m_selected = RepairIcon::General;
    DVTime m_startTime = 0;
    double m_currentOdometer = 0;
};
