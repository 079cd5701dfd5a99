// The drive a path lies on and the refusals of network and CD-ROM drives, in each wording the programs show them.
#include "core/driveclass.h"

#include "platform/paths.h"

namespace {

const char* const kCdRomNote = "Stampkeep cannot modify files on a CD-ROM.";

std::string joined(const std::set<std::string>& entries, const std::string& separator)
{
    std::string text;
    for (const std::string& entry : entries)
        text += (text.empty() ? "" : separator) + entry;
    return text;
}

bool mapped(const DriveClass& drive)
{
    return drive.remote != drive.root;
}

} // namespace

std::string GetRemoteName(const std::string& root)
{
    return currentPlatform().remoteName(root).value_or(root);
}

DriveClass ClassifyDrive(const std::string& fullPath)
{
    Platform& platform = currentPlatform();
    DriveClass drive;
    drive.root = withTrailingSlash(platform.driveRoot(fullPath));
    drive.type = platform.getDriveType(drive.root);
    // Only a network root has a share to look up.
    drive.remote = drive.type == DriveType::Network ? GetRemoteName(drive.root) : drive.root;
    return drive;
}

std::string specRefusal(const DriveClass& drive)
{
    switch (drive.type) {
    case DriveType::Network:
        return mapped(drive) ? "Network drives not supported (" + drive.remote + ", mapped to " + drive.root + ")"
                             : "Network drives not supported (" + drive.root + ")";
    case DriveType::CdRom:
        return "CD-ROM drives not supported (" + drive.root + ")";
    case DriveType::Fixed:
        break;
    }
    return {};
}

std::string selectionRefusal(const DriveClass& drive)
{
    switch (drive.type) {
    case DriveType::Network: {
        const std::string advice = " Stampkeep only works with files on local drives. Please run Stampkeep on the "
                                   "machine that contains the drive identified as \"" +
                                   drive.remote + "\".";
        if (mapped(drive))
            return "You have selected files from the Network drive \"" + drive.remote + "\", mapped to \"" +
                   drive.root + "\" on your system." + advice;
        return "You have selected files from the Network drive \"" + drive.root + "\"." + advice;
    }
    case DriveType::CdRom:
        return "You have selected files from the CD-ROM drive \"" + drive.root + "\". " + kCdRomNote;
    case DriveType::Fixed:
        break;
    }
    return {};
}

bool DropRefusals::refuse(const DriveClass& drive)
{
    switch (drive.type) {
    case DriveType::Network:
        networkDrives_.insert(mapped(drive) ? "\t" + drive.remote + " (mapped to " + drive.root + ")"
                                            : "\t" + drive.root);
        return true;
    case DriveType::CdRom:
        cdromDrives_.insert(drive.root);
        return true;
    case DriveType::Fixed:
        break;
    }
    return false;
}

std::vector<std::string> DropRefusals::messages() const
{
    std::vector<std::string> texts;
    if (!networkDrives_.empty()) {
        const std::string plural = networkDrives_.size() > 1 ? "s" : "";
        texts.push_back("You have selected one or more files from the following Network drive" + plural + ":\r\n" +
                        joined(networkDrives_, "\r\n") +
                        "\r\n\r\nStampkeep only works with files on local drives. Please run Stampkeep on the "
                        "machine that contains the drive" +
                        plural + " listed above.");
    }
    if (!cdromDrives_.empty())
        texts.push_back("You have selected one or more files from the CD-ROM drive" +
                        std::string(cdromDrives_.size() > 1 ? "s " : " ") + joined(cdromDrives_, ", ") + ". " +
                        kCdRomNote);
    return texts;
}
