#include "CommandHandler.h"

#include "LaunchRules.h"
#include "MainController.h"

#include "config/AppSettings.h"
#include "widgets/MonitorLayout.h"

#include <array>
#include <utility>

namespace sentinax {

std::optional<WindowCommand> ButtonCommand(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, WindowCommand>, 7> kButtons{{
        {"BUTTON_EXIT", WindowCommand::Exit},
        {"BUTTON_FROSTLINE", WindowCommand::CoolingTool},
        {"BUTTON_Korvane", WindowCommand::WebSite},
        {"BUTTON_MENU", WindowCommand::OptionsMenu},
        {"BUTTON_MINIMIZE", WindowCommand::Minimize},
        {"BUTTON_HELP", WindowCommand::About},
        {"BUTTON_TEMP", WindowCommand::TemperatureUnit},
    }};
    for (const auto& [button, command] : kButtons) {
        if (button == name)
            return command;
    }
    return std::nullopt;
}

CommandHandler::CommandHandler(CommandTarget& target, MainController& controller,
                               AppSettings& settings, ExternalPrograms& programs)
    : target_(target), controller_(controller), settings_(settings), programs_(programs) {}

void CommandHandler::OnButtonCommand(std::string_view name) {
    if (const auto command = ButtonCommand(name))
        Run(*command);
}

void CommandHandler::Run(WindowCommand command) {
    const bool panelDisplay = controller_.Profile().HostMode == HostMode::PanelDisplay;
    switch (command) {
    case WindowCommand::Exit:
        target_.EndRun(1);
        break;
    case WindowCommand::CoolingTool:
        if (controller_.Profile().FrostlineSupported) {
            controller_.MarkCoolingToolStarted();
            programs_.StartCoolingTool();
        } else {
            target_.ShowCommandMessage(kCoolingToolRefused);
        }
        break;
    case WindowCommand::WebSite:
        programs_.OpenWithBrowser(kMakerWebAddress);
        break;
    case WindowCommand::OptionsMenu:
        target_.PopUpOptionsMenu();
        break;
    case WindowCommand::Minimize:
        if (panelDisplay)
            target_.MinimizeWindow();
        else
            target_.HideWindow();
        controller_.SetWindowHidden(true);
        controller_.ResetHiddenTicks();
        break;
    case WindowCommand::About:
        target_.RunAboutBox();
        break;
    case WindowCommand::TemperatureUnit:
        ToggleTemperatureUnit();
        break;
    case WindowCommand::SystemInfo:
        programs_.RunSystemInfo();
        break;
    case WindowCommand::Inventory:
        target_.RunInventory();
        break;
    case WindowCommand::Settings:
        if (target_.RunSettingsDialog()) {
            settings_.ScreenSettingsChanged = true;
            controller_.RestartSampling();
        }
        break;
    case WindowCommand::Restore:
        // Only a hidden window comes back; a shown one is left as it is.
        if (controller_.WindowHidden()) {
            target_.RestoreWindow(panelDisplay);
            controller_.SetWindowHidden(false);
            controller_.ResetHiddenTicks();
        }
        break;
    case WindowCommand::TrayExit:
        target_.CloseAndCleanUp();
        break;
    }
}

void CommandHandler::ToggleTemperatureUnit() {
    settings_.UnitSettingChanged = true;
    settings_.Celsius = settings_.Celsius != 0 ? 0 : 1;
    const GraphRange range = MonitorLayout::TemperatureRange(settings_.Celsius != 0);
    target_.SetTemperatureRanges(range.lower, range.upper);
}

} // namespace sentinax
