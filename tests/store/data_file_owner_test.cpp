#include "store/data_file_owner.h"

#include "log_file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A vehicle list of four vehicles in `config/`, with the data files of the first two in `data/`:
// "Van" has no VIN (its log is "UnKnown.odv"), "Escape" a VIN that would leave the data folder,
// and "Twin" the same VIN as "Car", so the first in the list must win.
class DataFileOwner : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_config);
        std::filesystem::create_directories(m_data);
        logtest::writeFile(m_config + "Drivana.ini",
                           "[VehicleList]\r\nVehicle0=Car\r\nVehicle1=Van\r\nVehicle2=Escape\r\nVehicle3=Twin\r\n"
                           "[Car]\r\nVIN=VIN123\r\n[Van]\r\n[Escape]\r\nVIN=../outside\r\n[Twin]\r\nVIN=VIN123\r\n");
        for (const char* name : {"VIN123.odv", "UnKnown.odv", "OTHER.odv"})
            logtest::writeFile(m_data + name, "");
        logtest::writeFile(m_dir.file("outside.odv"), "");
    }
    CDataFileOwner::Result find(const std::string& file) const { return CDataFileOwner::find(m_config, m_data, file); }

    logtest::TempFolder m_dir;
    std::string m_config = m_dir.file("config/");
    std::string m_data = m_dir.file("data/");
};

TEST_F(DataFileOwner, FindsTheVehicleWhoseDataFileItIsByAnyName) {
    std::filesystem::create_symlink(m_data + "VIN123.odv", m_dir.file("link.odv"));
    const struct {
        std::string file;
        const char* vehicle;
    } cases[] = {
        {m_data + "VIN123.odv", "Car"},
        {m_data + "UnKnown.odv", "Van"},
        {m_data + "../data/./VIN123.odv", "Car"},
        {m_dir.file("link.odv"), "Car"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const CDataFileOwner::Result result = find(c.file);
        EXPECT_EQ(result.vehicle, c.vehicle);
        EXPECT_EQ(result.message, "");
    }
}

TEST_F(DataFileOwner, AFileNoVehicleUsesSaysWhy) {
    std::filesystem::copy_file(m_data + "VIN123.odv", m_dir.file("VIN123.odv"));
    const struct {
        std::string file;
        std::string says;
    } cases[] = {
        {m_data + "OTHER.odv", "is not the data file of any vehicle. Odrivo keeps each vehicle's log in " + m_data},
        {m_dir.file("VIN123.odv"), "is not the data file of any vehicle"},  // a copy outside the data folder
        {m_dir.file("outside.odv"), "is not the data file of any vehicle"}, // a VIN may not leave the folder
        {m_data + "missing.odv", "does not exist or is not a file"},
        {m_data, "does not exist or is not a file"},
        {"../" + std::filesystem::current_path().filename().string() + "/missing.odv",
         "does not exist or is not a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const CDataFileOwner::Result result = find(c.file);
        EXPECT_EQ(result.vehicle, "");
        const std::string named = std::filesystem::absolute(c.file).lexically_normal().string(); // a full path
        EXPECT_NE(result.message.find("The file " + named + " " + c.says), std::string::npos) << result.message;
    }
}

TEST_F(DataFileOwner, WithoutAVehicleListNamesTheMissingList) {
    std::filesystem::remove(m_config + "Drivana.ini");
    const CDataFileOwner::Result result = find(m_data + "VIN123.odv");
    EXPECT_EQ(result.vehicle, "");
    EXPECT_NE(result.message.find("the vehicle list " + m_config + "Drivana.ini does not exist"), std::string::npos)
        << result.message;
}

} // namespace
