#include <gtest/gtest.h>
#include <cstdio>
#include "online/Tickover.h"
#include "support/HttpListener.h"
#include "support/OnlineTestSupport.h"
#include "support/WinTestSupport.h"

using namespace corvello;
using testsupport::HttpListener;

static void RunCase(HttpListener::Mode mode, bool dead, bool wait)
{
    HttpListener listener;
    listener.SetMode(mode);
    testsupport::LoopbackProxy proxy(dead ? HttpListener::DeadPort() : listener.Port());
    testsupport::TestWindow parent(L"ExpParent", L"exp");
    TTickover tickover(L"http://corvello.quorvant.com/ping/", parent.Handle());
    const DWORD start = ::GetTickCount();
    bool result = tickover.SafeNotify(L"start", L"version=1", wait, 1000, 10000);
    fprintf(stderr, "result=%d after %lu ms, requests=%zu\n", result, ::GetTickCount() - start, listener.RequestCount());
    testsupport::WaitUntil([&] { return tickover.BrowserCount() == 0; }, 15000);
    fprintf(stderr, "browsers=%zu after %lu ms\n", tickover.BrowserCount(), ::GetTickCount() - start);
    for (auto& r : listener.Requests()) fprintf(stderr, "  %s\n", r.c_str());
}

TEST(OnlineExperiment, Ok) { RunCase(HttpListener::Mode::Ok, false, true); }
TEST(OnlineExperiment, NotFound) { RunCase(HttpListener::Mode::NotFound, false, true); }
TEST(OnlineExperiment, Close) { RunCase(HttpListener::Mode::Close, false, true); }
TEST(OnlineExperiment, Slow) { RunCase(HttpListener::Mode::Slow, false, true); }
TEST(OnlineExperiment, Dead) { RunCase(HttpListener::Mode::Ok, true, true); }
TEST(OnlineExperiment, OkBackground) { RunCase(HttpListener::Mode::Ok, false, false); }
TEST(OnlineExperiment, NotFoundBackground) { RunCase(HttpListener::Mode::NotFound, false, false); }
