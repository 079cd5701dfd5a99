// The drive a path lies on and the refusals of network and CD-ROM drives, in each wording the programs show them.
#pragma once

#include "platform/platform.h"

#include <set>
#include <string>
#include <vector>

struct DriveClass
{
    DriveType type = DriveType::Fixed;
    std::string root;   // the mount point holding the path, with a trailing `/`
    std::string remote; // the share behind a network root; the root itself where none is known

    bool refused() const { return type != DriveType::Fixed; }
};

// The share behind a network root, or the root unchanged.
std::string GetRemoteName(const std::string& root);

// The drive holding an absolute path.
DriveClass ClassifyDrive(const std::string& fullPath);

// One line for a refused file specification of the command line; empty for a fixed drive.
std::string specRefusal(const DriveClass& drive);
// The message for files chosen in the file dialog on a refused drive; empty for a fixed drive.
std::string selectionRefusal(const DriveClass& drive);

// Dropped files on refused drives, told in one message per kind of drive, each drive named once.
class DropRefusals
{
public:
    // Notes the drive when it is refused and answers whether it was.
    bool refuse(const DriveClass& drive);
    // The network message first, then the CD-ROM one; none for a kind not met.
    std::vector<std::string> messages() const;

private:
    std::set<std::string> networkDrives_;
    std::set<std::string> cdromDrives_;
};
