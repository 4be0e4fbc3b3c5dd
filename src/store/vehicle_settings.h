#pragma once
// VehicleSettings is the selected vehicle's section of the vehicle registry file
// (CVehicleRegistry) in memory, plus the vehicle's name and the trip options that the
// file keeps for all vehicles. CVehicleRegistry::loadVehicle fills it whole, the setup
// pages edit it and CVehicleRegistry::saveVehicle writes it back. Numbers are held as
// the file holds them; the three units are held as codes.

#include "store/dv_item.h"

#include <array>
#include <string>

struct VehicleSettings {
    static constexpr int kCustomCount = 5;
    static constexpr int kReminderCount = 10;

    // The section name, exactly as the vehicle list shows it.
    std::string name;

    std::string company;
    std::string vin; // also names the vehicle's data file
    std::string make;
    std::string plate;
    std::string model;
    int year = 0;
    double startOdometer = 0;

    // Reminder intervals of the five fixed services; 0 or less switches that half off.
    int oilDays = 0;
    double oilDistance = 0;
    int coolDays = 0;
    double coolDistance = 0;
    int tireDays = 0;
    double tireDistance = 0;
    int tuneDays = 0;
    double tuneDistance = 0;
    int transDays = 0;
    double transDistance = 0;

    // The five custom reminders (Custom1..5, C1..5Days, C1..5Miles); index 0 is number 1.
    std::array<std::string, kCustomCount> customNames;
    std::array<int, kCustomCount> customDays{};
    std::array<double, kCustomCount> customDistance{};

    // Trip claim rate per distance unit.
    double costPerMile = 0;
    // When the vehicle was set up; never 0 once loaded.
    DVTime setupDate = 0;

    int distanceUnit = 0; // 0 miles, 1 kilometres
    int economyUnit = 0;  // 0 MPG, 1 MPL, 2 L/100km, 3 MPiG, 4 KPL
    int liquid = 0;       // default fuel measure: 0 US gallons, 1 imperial gallons, 2 litres

    // Reminder warning leads: days (used as whole days) and distance.
    double leadDays = 0;
    double leadOdo = 0;

    // Per reminder (0 oil, 1 coolant, 2 transmission, 3 tune-up, 4 tires, 5..9 custom 1..5):
    // the odometer at which it was last done, and its date value (a time when the vehicle
    // was created, a count of days once the reminder check has run and the setup saved).
    std::array<double, kReminderCount> lastMileage{};
    std::array<double, kReminderCount> lastDate{};

    // Trip options, shared by all vehicles.
    bool detailedTrips = false;
    bool tripCompanyName = false;
    bool tripHomeAddress = false;
    bool tripUseContacts = false;
    int tripSortOrder = 0; // 0 date, 1 purpose, 2 contact

    bool operator==(const VehicleSettings&) const = default;
};
