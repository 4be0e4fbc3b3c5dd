#pragma once
// The main window's command numbers. Menu items and toolbar buttons that share a
// command share one QAction; the action's data holds the command's first number.

namespace CommandId {
enum : int {
    NewVehicle = 32780,
    DeleteVehicle = 135,
    Backup = 133,
    Restore = 134,
    Import = 144,
    ImportTool = 32774,
    Export = 145,
    ExportTool = 32775,
    PrintByView = 421,
    PrintByViewTool = 32785,
    PrintSelected = 57606,
    PrintSelectedTool = 32796,
    PrintVehicle = 186,
    PrintVehicleTool = 32795,
    SaveReportPdf = 32801,
    Exit = 136,
    AddTrip = 32771,
    AddRepair = 32773,
    AddFuel = 32772,
    Recalculate = 32792,
    RecalculateTool = 32789,
    Setup = 32793,
    SetupTool = 32784,
    About = 32786,
    CheckUpdates = 147,
    Help = 57670,
    InstallPpc = 32790,
};
} // namespace CommandId
