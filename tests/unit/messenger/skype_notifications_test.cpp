#include "skype_fixture.h"

#include "virtual_handsets.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tarnix::test {
namespace {

// An attached client that also reads what the handset was sent.
template <typename Handset>
class AttachedClient : public AttachedSkype<Handset> {
protected:
    // The handset's reports since the last call, by the bytes after the report id.
    std::vector<std::string> reports()
    {
        std::vector<std::string> out;
        const auto& written = this->handset->written();
        for (; seen_ < written.size(); ++seen_) out.push_back(hexHead(written[seen_], 3).substr(3));
        return out;
    }

private:
    std::size_t seen_ = 0;
};

using MelodyClient = AttachedClient<sim::VirtualMelodyHandset>;
using LcdClient = AttachedClient<sim::VirtualLcdHandset>;

TEST_F(MelodyClient, StateNotificationsFollowTheirWords)
{
    struct Case {
        const char* text;
        std::int32_t mute;
        std::int32_t status;
        const char* version;
        Transcript shown;
    };
    const Case cases[] = {
        {"mute on", SkypeClient::Muted, 0, "", {"light 2"}},
        {"MUTE OFF", SkypeClient::NotMuted, 0, "", {"light -1"}},
        {"USERSTATUS DND", SkypeClient::NotMuted, SkypeClient::StatusDoNotDisturb, "", {}},
        {"USERSTATUS dnd", SkypeClient::NotMuted, SkypeClient::StatusDoNotDisturb, "", {}},
        {"USERSTATUS LOGGEDOUT", SkypeClient::NotMuted, SkypeClient::StatusLoggedOut, "", {}},
        {"userstatus ONLINE", SkypeClient::NotMuted, SkypeClient::StatusOnline, "", {}},
        {"SKYPEVERSION 2.0.0.72", SkypeClient::NotMuted, 1, "2.0.0.72", {}},
        {"CONNSTATUS ONLINE", SkypeClient::NotMuted, 1, "2.0.0.72", {}},
        {"CALLS 12, 13", SkypeClient::NotMuted, 1, "2.0.0.72", {}},
        {"MUTED", SkypeClient::NotMuted, 1, "2.0.0.72", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        notify(c.text);
        EXPECT_EQ(stack.skype.muteState(), c.mute);
        EXPECT_EQ(stack.skype.userStatus(), c.status);
        EXPECT_STREQ(stack.skype.skypeVersion().c_str(), c.version);
        EXPECT_EQ(stack.log.take(), c.shown);
        EXPECT_TRUE(transport.take().empty());
    }
}

TEST_F(MelodyClient, ContactListAsksForBothNamesAndTheDisplayNameWins)
{
    notify("USERS ");
    EXPECT_TRUE(transport.take().empty());
    notify("USERS alice, bob,,alice");
    EXPECT_EQ(transport.take(),
              (Transcript{"sk: GET USER alice FULLNAME", "sk: GET USER alice DISPLAYNAME",
                          "sk: GET USER bob FULLNAME", "sk: GET USER bob DISPLAYNAME",
                          "sk: GET USER alice FULLNAME", "sk: GET USER alice DISPLAYNAME"}));
    ASSERT_EQ(stack.skype.friends().records().size(), 2u);

    notify("USER alice DISPLAYNAME Ally");
    notify("USER alice FULLNAME Alice Liddell");
    notify("USER bob FULLNAME Robert  Paulson");
    notify("USER bob displayname");
    notify("USER carol DISPLAYNAME Carol");
    const auto& records = stack.skype.friends().records();
    EXPECT_STREQ(records[0].name.c_str(), "Ally");
    EXPECT_STREQ(records[1].name.c_str(), "Robert  Paulson");
    notify("USER bob DisplayName Bob");
    EXPECT_STREQ(records[1].name.c_str(), "Bob");
    EXPECT_EQ(records.size(), 2u);
}

TEST_F(MelodyClient, RingingCallRingsWithTheConfiguredVolumeAndMelodyThenBlinks)
{
    stack.settings.ringVolume = 60;
    stack.settings.skypeTone = 4;
    reports();
    notify("CALL 12 STATUS RINGING");
    EXPECT_TRUE(stack.skype.inCall());
    EXPECT_EQ(transport.take(), Transcript{"sk: GET CALL 12 PARTNER_HANDLE"});
    EXPECT_EQ(stack.log.take(), Transcript{"light 1"});
    loop.advance(200);  // the melody and what follows wait out the ringer's settle time
    // Light on (call active), ringer volume, melody, light on (blinking starts lit).
    const auto sent = reports();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], "04 01");
    EXPECT_EQ(sent[1].substr(0, 3), "01 ");
    EXPECT_GE(sent[1].substr(3), "20");
    EXPECT_EQ(sent[2], "01 05");
    EXPECT_TRUE(handset->ringing());
    EXPECT_EQ(handset->melody(), 4);

    loop.advance(500);
    EXPECT_FALSE(handset->light());

    notify("CALL 12 STATUS INPROGRESS");
    EXPECT_FALSE(handset->ringing());
    EXPECT_TRUE(handset->light());
    EXPECT_EQ(stack.log.take(), Transcript{"light -1"});
    EXPECT_EQ(stack.skype.muteState(), SkypeClient::NotMuted);
    loop.advance(2000);
    EXPECT_TRUE(handset->light());
}

TEST_F(MelodyClient, DoNotDisturbKeepsTheHandsetQuietButBlinks)
{
    notify("USERSTATUS DND");
    notify("CALL 3 STATUS RINGING");
    EXPECT_FALSE(handset->ringing());
    EXPECT_EQ(stack.log.take(), Transcript{"light 1"});
}

TEST_F(MelodyClient, SecondIncomingCallIsRefusedAndDoesNotRing)
{
    notify("CALL 5 STATUS RINGING");
    notify("CALL 5 STATUS INPROGRESS");
    transport.take();
    stack.log.take();
    reports();

    notify("CALL 6 STATUS RINGING");
    EXPECT_EQ(transport.take(),
              (Transcript{"sk: GET CALL 6 PARTNER_HANDLE", "sk: SET CALL 6 STATUS FINISHED"}));
    EXPECT_FALSE(handset->ringing());
    EXPECT_TRUE(stack.log.take().empty());

    // Our own outgoing call ringing at the far end is not refused.
    notify("CALL 7 STATUS ROUTING");
    notify("CALL 7 STATUS RINGING");
    EXPECT_EQ(transport.take(),
              (Transcript{"sk: GET CALL 7 PARTNER_HANDLE", "sk: GET CALL 7 PARTNER_HANDLE"}));
}

TEST_F(LcdClient, EndOfASecondCallLeavesTheCallInProgressAloneInEitherOrder)
{
    for (const char* ending : {"REFUSED", "FINISHED", "MISSED"}) {
        SCOPED_TRACE(ending);
        notify("CALL 5 STATUS RINGING");
        notify("CALL 5 STATUS INPROGRESS");
        notify("CALL 5 PSTN_NUMBER 04930123");
        notify("CALL 6 STATUS RINGING");
        stack.log.take();

        // The second call ends first: the live call keeps its state.
        notify(std::string("CALL 6 STATUS ") + ending);
        EXPECT_TRUE(stack.skype.inCall());
        EXPECT_TRUE(handset->light());
        EXPECT_EQ(handset->lcd().text(), "04930123");
        EXPECT_TRUE(handset->lcd().callIcon);
        EXPECT_TRUE(stack.log.take().empty());

        notify("CALL 5 STATUS FINISHED");
        EXPECT_FALSE(stack.skype.inCall());
        EXPECT_FALSE(handset->lcd().callIcon);
        EXPECT_EQ(stack.controller.dialledNumber().length(), 0);
        EXPECT_EQ(stack.log.take(), Transcript{"light 0"});

        // The first call ends first: the second's end then closes the whole call.
        notify("CALL 8 STATUS RINGING");
        notify("CALL 8 STATUS INPROGRESS");
        notify("CALL 9 STATUS RINGING");
        notify("CALL 8 STATUS FINISHED");
        stack.log.take();
        notify(std::string("CALL 9 STATUS ") + ending);
        EXPECT_FALSE(stack.skype.inCall());
        EXPECT_EQ(stack.log.take(), Transcript{"light 0"});
        EXPECT_EQ(stack.skype.calls().size(), 0u);
    }
}

TEST_F(LcdClient, CallNotificationsNeedAPositiveIdAndExactStatusWords)
{
    for (const char* text : {"CALL 0 STATUS RINGING", "CALL -4 STATUS RINGING", "CALL x STATUS RINGING",
                             "CALL STATUS RINGING", "CALL 4 STATUS ringing", "CALL 4 status RINGING",
                             "CALL 4 STATUS ONHOLD", "CALL 4 STATUS BUSY", "CALL 4 PARTNER_HANDLE bob"}) {
        notify(text);
        EXPECT_EQ(stack.skype.calls().size(), 0u) << text;
        EXPECT_FALSE(stack.skype.inCall()) << text;
    }
    EXPECT_TRUE(transport.take().empty());
}

TEST_F(LcdClient, CallPropertiesFillTheEntryAndTheNumberIsShownEvenForUnknownCalls)
{
    notify("CALL 77 PSTN_NUMBER 0301234");
    EXPECT_EQ(handset->lcd().text(), "0301234");
    EXPECT_EQ(stack.controller.dialledNumber().length(), 7);

    notify("CALL 12 STATUS RINGING");
    notify("call 12 PARTNER_HANDLE bob");
    notify("CALL 12 partner_handle eve");
    notify("CALL 12 DURATION 42");
    notify("CALL 12 pstn_number +12025550123");
    const CallEntry* entry = stack.skype.calls().findCall(12);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->partnerHandle.c_str(), "bob");
    EXPECT_STREQ(entry->record.duration.c_str(), "42");
    EXPECT_STREQ(entry->pstnNumber.c_str(), "+12025550123");

    notify("CALL 12 PSTN_NUMBER " + std::string(999, '1'));
    EXPECT_EQ(stack.controller.dialledNumber().length(), 0);
}

TEST_F(LcdClient, FailedCallEndsTheRingAndTheLightUnlessAnotherCallGoesOn)
{
    notify("CALL 2 STATUS ROUTING");
    notify("CALL 2 STATUS RINGING");
    EXPECT_TRUE(stack.skype.inCall());
    notify("CALL 2 STATUS FAILED");
    EXPECT_FALSE(stack.skype.inCall());
    EXPECT_FALSE(handset->light());
    EXPECT_EQ(stack.skype.calls().size(), 0u);

    notify("CALL 3 STATUS RINGING");
    notify("CALL 3 STATUS INPROGRESS");
    notify("CALL 4 STATUS ROUTING");
    stack.log.take();
    notify("CALL 4 STATUS UNPLACED");
    EXPECT_TRUE(stack.skype.inCall());
    EXPECT_TRUE(handset->light());
    EXPECT_TRUE(handset->lcd().callIcon);
    EXPECT_TRUE(stack.log.take().empty());
}

}  // namespace
}  // namespace tarnix::test
