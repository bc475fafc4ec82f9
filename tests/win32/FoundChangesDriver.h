#pragma once
// Shows the changes viewer modally, runs a test body once its load is done, then closes it
// with OK. Fails when the window never appears, never finishes loading or stays open.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "UiDriver.h"
#include "app/resource.h"
#include "review/frmFoundChanges.h"

namespace quillon::uitest {

inline void whileViewerShown(review::frmFoundChanges& viewer, const std::function<void(HWND)>& body) {
    bool loaded = false;
    Poller poller;
    WindowScript script(10000);
    script.when("Changes found  -Quillon", [&](HWND dialog) {
        // The load pumps messages, so this runs while it reads: wait without blocking it.
        poller.start(20000, [&, dialog] {
            if (!viewer.isLoaded()) return false;
            loaded = true;
            body(dialog);
            postClick(dialog, IDC_FOUND_CMDOK);
            return true;
        });
    });
    script.start();
    viewer.showModal(nullptr);
    EXPECT_TRUE(script.finished()) << script.failure();
    EXPECT_TRUE(loaded) << "the viewer never finished loading";
    EXPECT_EQ(viewer.hwnd(), nullptr) << "OK must close the viewer";
}

}  // namespace quillon::uitest
