#pragma once
// Every text setup shows, each under one fixed string-table id. This list is the one map: the
// program's string table (setup.rc) is expanded from it, language libraries use the same ids,
// and code loads texts by id, never by literal. Texts are kept exactly as shown, "%s" and all.
// Ids 145-199 belong to the prerequisites wizard (145-147 its titles and headings, 148-163 the
// list's columns, states and version texts, 164-167 its buttons, 169-176 the summary,
// progress and result pages, 190-191 the credential dialog's fields), 200-255 to launch
// conditions, restarts and downloads; the main flow's own texts sit at 100-144 and the installer launch's at 256 up.
// This header is read by the resource compiler too: macros only outside the RC_INVOKED guard.

// X(name, id, text)
#define MAGLORIN_SETUP_STRINGS(X) \
    X(kStringHelpCaption, 100, "%s Options") \
    X(kStringHelpText, 101, "Command Line:\n%s [options]\noptions:\n  /? or /help - displays this message\n  /extract:<directory> - extracts all files in <directory>\n  /listlangs - list languages supported by this setup\n  /exenoui - launches the EXE setup without UI\n  /exebasicui - launches the EXE setup with basic UI\n  /exelang <langId> - launches the EXE setup using the specified language\n  /username - username used by the proxy\n  /password - password used by the proxy\n  <msiOptions> - options for msiexec.exe on running the MSI package") \
    X(kStringLanguagesCaption, 102, "%s Languages") \
    X(kStringSetupTitle, 103, "%s Setup") \
    X(kStringReadError, 104, "An error occurred while reading the file.") \
    X(kStringCorruptedArchive, 105, "This archive is corrupted.") \
    X(kStringUnsupportedVersion, 106, "This archive has an unsupported version.") \
    X(kStringInstallerNotStarted, 107, "Windows Installer could not be started.") \
    X(kStringExtractionError, 108, "An error occurred while extracting.") \
    X(kStringAnotherInstance, 109, "Another instance of setup is already running.") \
    X(kStringPreparing, 110, "Preparing...") \
    X(kStringCheckingIntegrity, 111, "Checking integrity (MD5)...") \
    X(kStringInstallerTooOld, 112, "%s can not be installed on systems with Windows Installer version lower than %s.") \
    X(kStringExtracting, 113, "Extracting files...") \
    X(kStringWizardTitle, 145, "%s - Prerequisites") \
    X(kStringWizardIntro, 146, "Before %s can be installed, some other software must be present on this computer. Press Next to see the prerequisites this setup can install.") \
    X(kStringWizardListHeading, 147, "Check the prerequisites to install and press Next. Prerequisites that are already installed can be checked to install them again.") \
    X(kStringColumnPrerequisite, 148, "Prerequisite") \
    X(kStringColumnVersion, 149, "Version") \
    X(kStringColumnStatus, 150, "Status") \
    X(kStringStatusInstalled, 151, "Installed") \
    X(kStringStatusMissing, 152, "Not installed") \
    X(kStringInstallingPrerequisite, 153, "Installing %s") \
    X(kStringStatusNotNeeded, 154, "Not needed on this system") \
    X(kStringStatusDownloaded, 155, "Not installed (downloaded)") \
    X(kStringStatusDownloadFailed, 156, "Download failed") \
    X(kStringStatusInstallFailed, 157, "Installation failed") \
    X(kStringRequiredAny, 158, "Required: any.") \
    X(kStringRequiredMinimum, 159, "Required: %s or higher.") \
    X(kStringRequiredMaximum, 160, "Required: %s or lower.") \
    X(kStringRequiredBetween, 161, "Required: between %s and %s.") \
    X(kStringFoundVersions, 162, " Found: %s.") \
    X(kStringFoundNothing, 163, " Found: nothing.") \
    X(kStringButtonBack, 164, "< &Back") \
    X(kStringButtonNext, 165, "&Next >") \
    X(kStringButtonCancel, 166, "Cancel") \
    X(kStringButtonFinish, 167, "&Finish") \
    X(kStringPrerequisiteMandatory, 168, "This prerequisite is mandatory. It must be installed and can not be unchecked.") \
    X(kStringSummaryHeading, 169, "Setup will now do the following. Press Next to begin:") \
    X(kStringSummaryRun, 170, "Install %s") \
    X(kStringSummaryDownload, 171, "Download and install %s") \
    X(kStringSummaryOpenSite, 172, "Open the web site of %s") \
    X(kStringProgressHeading, 173, "Please wait while the prerequisites are downloaded and installed.") \
    X(kStringCancelling, 174, "Cancelling after the current step...") \
    X(kStringProgressBytes, 175, "%s of %s KB") \
    X(kStringResultHeading, 176, "Prerequisites") \
    X(kStringPrerequisitesStillMissing, 179, "After launching all packages some required prerequisites are still missing. Press Back to return to the prerequisites list.") \
    X(kStringPrerequisitesInstalled, 180, "All prerequisites have been installed successfully. Press Finish to install the main application.") \
    X(kStringPrerequisitesNotInstalled, 178, "Some prerequisites could not be installed. Press Back to return to the prerequisites list.") \
    X(kStringPrerequisitesNotDownloaded, 183, "Some prerequisites could not be downloaded. You can try again or remove them from the prerequisites list.") \
    X(kStringMandatoryStillMissing, 188, "Some mandatory prerequisites are still missing, so the main application can not be installed. Press Back to return to the prerequisites list.") \
    X(kStringCredentialUserName, 190, "&User name:") \
    X(kStringCredentialPassword, 191, "&Password:") \
    X(kStringDownloading, 199, "Downloading %s") \
    X(kStringOsFamilyExcluded, 206, "%s can not be installed on %s") \
    X(kStringOsVersionExcluded, 207, "%s can not be installed on the following Windows versions: %s") \
    X(kStringInternetExplorerTooOld, 208, "%s can not be installed on systems with Internet Explorer version lower than %s") \
    X(kStringIisTooOld, 209, "%s can not be installed on systems with Internet Information Services version lower than %s") \
    X(kStringScreenTooSmall, 210, "%s can not be installed on systems with screen resolution lower than %s") \
    X(kStringColourTooLow, 211, "%s can not be installed on systems with colour quality lower than %s bits.") \
    X(kStringMemoryTooSmall, 212, "%s can not be installed on systems with less physical memory than %s MB.") \
    X(kStringDotNetTooOld, 213, "%s can not be installed on systems with .NET Framework version lower than %s") \
    X(kStringAdministratorRequired, 214, "%s requires administrative privileges to install.") \
    X(kStringRebootQuestion, 216, "You must reboot your computer in order to continue the installation. Press Yes to restart now or press No to abort the installation and manually restart later.") \
    X(kStringConfirmation, 217, "Confirmation") \
    X(kStringAdobeReaderTooOld, 221, "%s can not be installed on systems with Adobe Reader version lower than %s") \
    X(kStringJreTooOld, 224, "%s can not be installed on systems with JRE version lower than %s") \
    X(kStringDirectXTooOld, 225, "%s can not be installed on systems with DirectX version lower than %s") \
    X(kStringInternetRequired, 226, "%s requires an active Internet connection for installation. Please check your network configuration and proxy settings.") \
    X(kStringOffice2003Required, 227, "%s can not be installed on systems without %s 2003 or higher.") \
    X(kStringOffice2007Required, 228, "%s can not be installed on systems without %s 2007 or higher.") \
    X(kStringXnaTooOld, 235, "%s can not be installed on systems with XNA Framework version smaller than %s") \
    X(kStringEvaluatingConditions, 236, "Evaluating launch conditions...") \
    X(kStringJdkTooOld, 237, "%s can not be installed on systems with JDK version lower than %s") \
    X(kStringProductRequired, 238, "%s can not be installed on systems without %s") \
    X(kStringProductOrHigherRequired, 239, "%s can not be installed on systems without %s or higher") \
    X(kStringPia2003Required, 241, "%s cannot be installed on systems without %s 2003 Primary Interop Assembly.") \
    X(kStringPia2007Required, 242, "%s cannot be installed on systems without %s 2007 Primary Interop Assembly.") \
    X(kStringOfficeToolsRequired, 243, "%s cannot be installed on systems without %s.") \
    X(kStringOffice2010Required, 244, "%s cannot be installed on systems without %s 2010 or higher.") \
    X(kStringConnectTo, 245, "Connect to %s") \
    X(kStringCredentialsRequired, 246, "The server %s at %s requires a username and password. Please enter them below.") \
    X(kStringCannotAccessUrl, 247, "Cannot acces URL: %s") \
    X(kStringPia2010Required, 248, "%s cannot be installed on systems without %s 2010 Primary Interop Assembly.") \
    X(kStringSharedPiaRequired, 255, "%s cannot be installed on systems without %s Primary Interop Assembly.") \
    X(kStringUpgradeInstance, 256, "An upgrade of the selected instance will be performed. Do you want to continue?") \
    X(kStringQuestionCaption, 257, "Question")

#ifndef RC_INVOKED

namespace maglorin {

#define MAGLORIN_STRING_ID(name, id, text) name = id,
enum SetupStringId : unsigned { MAGLORIN_SETUP_STRINGS(MAGLORIN_STRING_ID) };
#undef MAGLORIN_STRING_ID

struct SetupStringText {
    SetupStringId id;
    const char16_t* text;
};

#define MAGLORIN_STRING_TEXT(name, id, text) {name, u"" text},
inline constexpr SetupStringText kSetupStrings[] = {MAGLORIN_SETUP_STRINGS(MAGLORIN_STRING_TEXT)};
#undef MAGLORIN_STRING_TEXT

}  // namespace maglorin

#endif
