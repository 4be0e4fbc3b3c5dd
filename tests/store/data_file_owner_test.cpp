#include "store/data_file_owner.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Four vehicles: "Van" has no VIN (its log is "UnKnown.odv"), "Escape" a VIN that would leave the
// data folder, and "Twin" the VIN of "Car", so the first in the list must win.
TEST(DataFileOwner, FindsTheVehicleWhoseDataFileItIsByAnyNameAndSaysWhyForAnyOtherFile) {
    logtest::TempFolder dir;
    const std::string config = dir.file("config/"), data = dir.file("data/");
    fs::create_directories(config);
    fs::create_directories(data);
    logtest::writeFile(config + "Drivana.ini",
                       "[VehicleList]\r\nVehicle0=Car\r\nVehicle1=Van\r\nVehicle2=Escape\r\nVehicle3=Twin\r\n"
                       "[Car]\r\nVIN=VIN123\r\n[Van]\r\n[Escape]\r\nVIN=../outside\r\n[Twin]\r\nVIN=VIN123\r\n");
    for (const std::string& file : {data + "VIN123.odv", data + "UnKnown.odv", data + "OTHER.odv",
                                    dir.file("outside.odv"), dir.file("VIN123.odv")})
        logtest::writeFile(file, "");
    fs::create_symlink(data + "VIN123.odv", dir.file("link.odv"));
    const std::string noVehicle = "is not the data file of any vehicle. Odrivo keeps each vehicle's log in " + data;
    const std::string relative = "../" + fs::current_path().filename().string() + "/missing.odv";
    const struct {
        std::string file;
        std::string vehicleOrMessage; // the message part after "The file <full path> "
    } cases[] = {
        {data + "VIN123.odv", "Car"},
        {data + "UnKnown.odv", "Van"},
        {data + "../data/./VIN123.odv", "Car"},
        {dir.file("link.odv"), "Car"},
        {data + "OTHER.odv", noVehicle},
        {dir.file("VIN123.odv"), noVehicle},  // a copy outside the data folder
        {dir.file("outside.odv"), noVehicle}, // a VIN may not leave the folder
        {data + "missing.odv", "does not exist or is not a file"},
        {data, "does not exist or is not a file"},
        {relative, "does not exist or is not a file"},
        {"", "cannot be opened: the vehicle list " + config + "Drivana.ini does not exist"}, // after removing it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.file.empty())
            fs::remove(config + "Drivana.ini");
        const std::string file = c.file.empty() ? data + "VIN123.odv" : c.file;
        const CDataFileOwner::Result result = CDataFileOwner::find(config, data, file);
        if (c.vehicleOrMessage.find(' ') == std::string::npos) {
            EXPECT_EQ(std::pair(result.vehicle, result.message), std::pair(c.vehicleOrMessage, std::string()));
            continue;
        }
        EXPECT_EQ(result.vehicle, "");
        const std::string named = fs::absolute(file).lexically_normal().string(); // a full path
        EXPECT_NE(result.message.find("The file " + named + " " + c.vehicleOrMessage), std::string::npos)
            << result.message;
    }
}

} // namespace
