#include "DSCheck.h"
#include "DirectSoundTypes.h"
#include "EDirectSoundError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(DSCheck, SuccessReturns) {
    EXPECT_NO_THROW(DSCheck(DS_OK));
}

TEST(DSCheck, EveryFailureRaisesWithItsCodeAndText) {
    struct Case {
        uint32_t code;
        const char* hex;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0x8878000A, "8878000A",
         "The call failed because resources (such as a priority level) were already being used "
         "by another caller."},
        {0x8878001E, "8878001E",
         "The control (vol,pan,etc.) requested by the caller is not available."},
        {0x80070057, "80070057", "An invalid parameter was passed to the returning function."},
        {0x88780032, "88780032", "This call is not valid for the current state of this object"},
        {0x80004005, "80004005", "An undetermined error occured inside the DSound subsystem"},
        {0x88780046, "88780046",
         "The caller does not have the priority level required for the function to succeed."},
        {0x8007000E, "8007000E",
         "The DSound subsystem couldn't allocate sufficient memory to complete the caller's "
         "request."},
        {0x88780064, "88780064", "The specified WAVE format is not supported"},
        {0x80004001, "80004001", "The function called is not supported at this time"},
        {0x88780078, "88780078", "No sound driver is available for use"},
        {0x88780082, "88780082", "This object is already initialized"},
        {0x80040110, "80040110", "This object does not support aggregation"},
        {0x88780096, "88780096", "The buffer memory has been lost, and must be Restored."},
        {0x887800A0, "887800A0",
         "Another app has a higher priority level, preventing this call from succeeding."},
        {0x887800AA, "887800AA",
         "The Initialize() member on the Direct Sound Object has not been called or called "
         "successfully before calls to other members."},
        {1, "1", "Unrecognized error value."},
        {0x80004002, "80004002", "Unrecognized error value."},
        {0xFFFFFFFF, "FFFFFFFF", "Unrecognized error value."},
    };
    for (const Case& c : cases) {
        const auto code = static_cast<int32_t>(c.code);
        try {
            DSCheck(code);
            ADD_FAILURE() << c.hex << " did not raise";
        } catch (const EDirectSoundError& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("DirectSound call failed: ") + c.hex + "\r" + c.text);
            EXPECT_EQ(error.Code, code) << c.hex;
        }
    }
}
