// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Makes the application's compiled interfaces available by name to
// ViewUtils::viewFromNib ("TransferMaskTip", ...). Safe to call often.
// Main thread.
namespace ApplicationInterfaces {
void registerAll();
}
