#include "ui/Options.h"

#include <gtest/gtest.h>

#include "core/RegistryLayout.h"

using namespace corvello;

TEST(Options, FindIndexByNameInAnyCase)
{
    struct Case {
        const wchar_t* Name;
        int index;
    };
    const Case cases[] = {
        {L"AutoRun", 1},   {L"online", 2},     {L"CONFIRM", 3},  {L"snd1", 4},     {L"tray1", 11},
        {L"OSD2ANIM", 36}, {L"osd1text", 22},  {L"", -1},        {L"autorun ", -1}, {L" autorun", -1},
        {L"snd3", -1},     {L"\x0130nline", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindOptionIndex(c.Name), c.index);
    EXPECT_EQ(OptionNames.size(), 41u);
    EXPECT_STREQ(OptionNames[0], L"");
    EXPECT_STREQ(OptionNames[40], L"");
}

TEST(Options, BooleanText)
{
    EXPECT_EQ(BooleanToText(true), L"-1");
    EXPECT_EQ(BooleanToText(false), L"0");

    struct Case {
        const wchar_t* Text;
        wchar_t Separator;
        std::optional<bool> value;
    };
    const Case cases[] = {
        {L"-1", L'.', true},      {L"1", L'.', true},         {L"2", L'.', true},        {L"0", L'.', false},
        {L"-0", L'.', false},     {L"0.0", L'.', false},      {L"0.5", L'.', true},      {L"0,5", L',', true},
        {L"0,5", L'.', {}},       {L" 7 ", L'.', true},       {L"1e3", L'.', true},      {L"0e99", L'.', false},
        {L"1e", L'.', {}},        {L"1e-99999", L'.', true},  {L".5", L'.', true},       {L".", L'.', {}},
        {L"True", L'.', true},    {L"FALSE", L'.', false},    {L"false", L'.', false},   {L"yes", L'.', {}},
        {L"", L'.', {}},          {L"true ", L'.', {}},       {L"+", L'.', {}},          {L"12abc", L'.', {}},
        {L"0x10", L'.', {}},      {L"--1", L'.', {}},
    };
    for (const auto& c : cases) {
        const auto value = TextToBoolean(c.Text, c.Separator);
        EXPECT_EQ(value, c.value) << std::string(c.Text, c.Text + std::wcslen(c.Text));
    }
}

TEST(RegistryLayout, AutorunCommandQuotesThePath)
{
    EXPECT_EQ(registry::AutorunCommand(L"C:\\Tools\\tool.exe"), L"\"C:\\Tools\\tool.exe\" -startup");
    EXPECT_EQ(registry::AutorunCommand(L"C:\\Program Files\\Corvello\\corvello.exe"),
              L"\"C:\\Program Files\\Corvello\\corvello.exe\" -startup");
}
