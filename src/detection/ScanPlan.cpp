#include "detection/ScanPlan.h"

namespace quillon::detection {

ScanPlan planScan(std::string_view scanMode, const std::vector<std::string>& drives,
                  std::string_view windowsFolder, std::string_view programFilesFolder) {
    ScanPlan plan;
    const std::string windows(windowsFolder);
    const std::string programFiles(programFilesFolder);
    if (scanMode == "0") {
        plan.coversWholeDrives = true;
        for (const auto& drive : drives) plan.scanFiles.push_back({drive + "\\"});
    } else if (scanMode == "1") {
        plan.scanFiles.push_back({windows, programFiles});
    } else if (scanMode == "2") {
        plan.scanFiles.push_back({windows});
    } else if (scanMode == "3") {
        plan.scanFiles.push_back({programFiles});
    } else if (!drives.empty()) {
        plan.scanFiles.push_back({drives.front() + "\\"});
    }
    return plan;
}

}  // namespace quillon::detection
