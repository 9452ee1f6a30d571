#include "FakeUserInterface.h"

#include "UserInterface.h"

FakeUserInterface::FakeUserInterface() {
    UserInterface::SetProgressHost(&Progress);
    UserInterface::SetErrorDisplay(&Errors);
    UserInterface::SetMessageBox(&Messages);
}

FakeUserInterface::~FakeUserInterface() {
    UserInterface::SetProgressHost(nullptr);
    UserInterface::SetErrorDisplay(nullptr);
    UserInterface::SetMessageBox(nullptr);
}
