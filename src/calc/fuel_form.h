#pragma once
// CFuelForm holds the values of the fuel entry dialog and every rule the dialog applies to
// them, without any window: opening a record (new when its Quantity is 0 or less), the
// running total, the live economy of this fill-up, the distance since the previous fill-up,
// and what Save writes into the record. The dialog copies its controls into fields() before
// calling a handler and shows fields() afterwards; the quantity and price are held both as
// the texts typed and as the numbers last parsed from them, as the handlers refresh them.
// Numbers are parsed and formatted with the "C" conventions whatever the user's locale.

#include "store/dv_item.h"

#include <optional>
#include <string>
#include <string_view>

class CFuelForm {
public:
    // What the dialog reads besides the record.
    struct Inputs {
        int distanceUnit = 0; // units::DistanceUnitCode
        int economyUnit = 0;  // units::EconomyUnitCode
        int liquid = 0;       // the vehicle's default measure, units::LiquidCode
        double startOdometer = 0;
        double currentOdometer = 0;
        double previousFuelOdometer = 0;
        DVTime startTime = 0;
        std::string currencySymbol = "$";
        std::string lastStation = "Select";
        std::string lastMeasure = "Gallon";
    };

    // The values behind the dialog's controls.
    struct Fields {
        double odometer = 0;
        DVTime date = 0;
        std::string station;
        std::string measure;
        std::string quantityText;
        std::string priceText;
        double quantity = 0;
        double price = 0;
        std::string unitLabel;
        std::string totalText;
        double economy = 0;
        bool partialFill = false;
        int cellTemp = 0;
        double distance = 0;
        std::string invoice;
        std::string notes;
    };

    // The remembered values Save hands to the profile.
    struct Remembered {
        std::string lastStation;
        std::string lastMeasure;
    };

    // The measure items of the dialog, in list order; the index is the liquid code.
    static constexpr const char* kMeasures[] = {"Gallons", "Imp. Gallons", "Litres"};

    CFuelForm(const CDVItem& record, Inputs inputs);

    Fields& fields() { return m_fields; }
    const Fields& fields() const { return m_fields; }
    bool isExistingEntry() const { return m_existing; }
    const std::string& currencySymbol() const { return m_currency; }
    // "Km." or "Mi." by the vehicle's distance unit.
    const char* distanceUnitLabel() const;

    // Live handlers; each works on fields() as the dialog last copied them in.
    void quantityChanged();
    void priceChanged();
    void measureSelectionChanged();
    // `selectedItem` is the text of the list item now selected, if any.
    void measureDropDownClosed(const std::optional<std::string>& selectedItem);
    void measureTextEdited();
    void odometerChanged();
    // After the station list was edited: the station becomes the item added last ("" when none).
    void stationListEdited(const std::string& lastAdded);

    // Why Save must refuse the fields: Fuel or Unit Price is not a number. The message names
    // the field, as the dialog's other number fields do.
    enum class NumberField { Quantity, Price };
    struct Refusal {
        NumberField field;
        std::string message;
    };
    std::optional<Refusal> saveRefusal() const;

    // Fills `record` from fields() and returns what the profile should remember.
    Remembered save(CDVItem& record) const;

    // The leading decimal number of `text` as strtod reads it; 0 when the text begins with none.
    static double leadingNumber(std::string_view text);
    // `text` when it is one whole number (blanks around it allowed), else nothing.
    static std::optional<double> wholeNumber(std::string_view text);
    static std::optional<int> wholeInteger(std::string_view text);
    // A number as the numeric fields show it: up to 15 significant digits ("1234.5").
    static std::string numberText(double value);
    // printf's "%3.2f" and "%-2.3f".
    static std::string twoDecimals(double value);
    static std::string threeDecimals(double value);
    // The symbol when it has at most two characters, else "$".
    static std::string limitedCurrency(std::string_view symbol);

private:
    void refreshTotal(const char* separator);
    // After any change of the measure the total shows a blank after the currency symbol,
    // whichever of the combo box's signals comes last.
    void measureChanged();
    void refreshUnitLabel();

    Inputs m_inputs;
    std::string m_currency;
    bool m_existing = false;
    Fields m_fields;
};
