#pragma once

#include <string>

class DeviceCatalog;

// The udev rule that lets the person at the seat open the hidraw nodes of every model the
// catalogue lists, and nobody else: one line per distinct pair of vendor and product id, in
// catalogue order, matching hidraw nodes only and tagging them "uaccess", so that logind grants
// the active session's user an ACL on the node. It never sets a MODE, which would open the node
// to every account on the machine. Each line is preceded by a comment naming the connections it
// serves; a connection whose vendor or product id is no 16-bit USB id is named in a comment and
// gets no line. The text is what the build writes to 70-kestrel.rules; "70" places it before
// systemd's 73-seat-late.rules, which turns the tag into the ACL.
std::string UdevRuleText(const DeviceCatalog& catalog);
