#pragma once
// setup's texts in German (1031), under the same names and ids as setup_string_ids.h; "%s" in the
// same order. Read by the resource compiler and by the tests that hold it against the base list.

// X(name, id, text)
#define MAGLORIN_SETUP_STRINGS_1031(X) \
    X(kStringHelpCaption, 100, "%s-Optionen") \
    X(kStringHelpText, 101, "Befehlszeile:\n%s [Optionen]\nOptionen:\n  /? oder /help - zeigt diese Meldung an\n  /extract:<Verzeichnis> - extrahiert alle Dateien in <Verzeichnis>\n  /listlangs - listet die von diesem Setup unterstützten Sprachen auf\n  /exenoui - startet das EXE-Setup ohne Benutzeroberfläche\n  /exebasicui - startet das EXE-Setup mit einfacher Benutzeroberfläche\n  /exelang <Sprach-ID> - startet das EXE-Setup in der angegebenen Sprache\n  /username - Benutzername für den Proxy\n  /password - Kennwort für den Proxy\n  <MSI-Optionen> - Optionen für msiexec.exe beim Ausführen des MSI-Pakets") \
    X(kStringLanguagesCaption, 102, "%s-Sprachen") \
    X(kStringSetupTitle, 103, "%s-Setup") \
    X(kStringReadError, 104, "Beim Lesen der Datei ist ein Fehler aufgetreten.") \
    X(kStringCorruptedArchive, 105, "Dieses Archiv ist beschädigt.") \
    X(kStringUnsupportedVersion, 106, "Die Version dieses Archivs wird nicht unterstützt.") \
    X(kStringInstallerNotStarted, 107, "Windows Installer konnte nicht gestartet werden.") \
    X(kStringExtractionError, 108, "Beim Extrahieren ist ein Fehler aufgetreten.") \
    X(kStringAnotherInstance, 109, "Eine andere Instanz des Setups wird bereits ausgeführt.") \
    X(kStringPreparing, 110, "Vorbereitung...") \
    X(kStringCheckingIntegrity, 111, "Integrität wird geprüft (MD5)...") \
    X(kStringInstallerTooOld, 112, "%s kann nicht auf Systemen mit einer Windows Installer-Version unter %s installiert werden.") \
    X(kStringExtracting, 113, "Dateien werden extrahiert...") \
    X(kStringWizardTitle, 145, "%s - Voraussetzungen") \
    X(kStringWizardIntro, 146, "Bevor %s installiert werden kann, muss weitere Software auf diesem Computer vorhanden sein. Klicken Sie auf Weiter, um die Voraussetzungen zu sehen, die dieses Setup installieren kann.") \
    X(kStringWizardListHeading, 147, "Markieren Sie die zu installierenden Voraussetzungen und klicken Sie auf Weiter. Bereits installierte Voraussetzungen können markiert werden, um sie erneut zu installieren.") \
    X(kStringColumnPrerequisite, 148, "Voraussetzung") \
    X(kStringColumnVersion, 149, "Versionen") \
    X(kStringColumnStatus, 150, "Zustand") \
    X(kStringStatusInstalled, 151, "Installiert") \
    X(kStringStatusMissing, 152, "Nicht installiert") \
    X(kStringInstallingPrerequisite, 153, "%s wird installiert") \
    X(kStringStatusNotNeeded, 154, "Auf diesem System nicht erforderlich") \
    X(kStringStatusDownloaded, 155, "Nicht installiert (heruntergeladen)") \
    X(kStringStatusDownloadFailed, 156, "Herunterladen fehlgeschlagen") \
    X(kStringStatusInstallFailed, 157, "Installation fehlgeschlagen") \
    X(kStringRequiredAny, 158, "Erforderlich: beliebig.") \
    X(kStringRequiredMinimum, 159, "Erforderlich: %s oder höher.") \
    X(kStringRequiredMaximum, 160, "Erforderlich: %s oder niedriger.") \
    X(kStringRequiredBetween, 161, "Erforderlich: zwischen %s und %s.") \
    X(kStringFoundVersions, 162, " Gefunden: %s.") \
    X(kStringFoundNothing, 163, " Gefunden: nichts.") \
    X(kStringButtonBack, 164, "< &Zurück") \
    X(kStringButtonNext, 165, "&Weiter >") \
    X(kStringButtonCancel, 166, "Abbrechen") \
    X(kStringButtonFinish, 167, "&Fertig stellen") \
    X(kStringPrerequisiteMandatory, 168, "Diese Voraussetzung ist zwingend erforderlich. Sie muss installiert werden und kann nicht abgewählt werden.") \
    X(kStringSummaryHeading, 169, "Das Setup führt jetzt Folgendes aus. Klicken Sie auf Weiter, um zu beginnen:") \
    X(kStringSummaryRun, 170, "%s installieren") \
    X(kStringSummaryDownload, 171, "%s herunterladen und installieren") \
    X(kStringSummaryOpenSite, 172, "Die Website von %s öffnen") \
    X(kStringProgressHeading, 173, "Bitte warten Sie, während die Voraussetzungen heruntergeladen und installiert werden.") \
    X(kStringCancelling, 174, "Abbruch nach dem aktuellen Schritt...") \
    X(kStringProgressBytes, 175, "%s von %s KB") \
    X(kStringResultHeading, 176, "Voraussetzungen") \
    X(kStringPrerequisitesStillMissing, 179, "Nach dem Starten aller Pakete fehlen noch einige erforderliche Voraussetzungen. Klicken Sie auf Zurück, um zur Liste der Voraussetzungen zurückzukehren.") \
    X(kStringPrerequisitesInstalled, 180, "Alle Voraussetzungen wurden erfolgreich installiert. Klicken Sie auf Fertig stellen, um die Hauptanwendung zu installieren.") \
    X(kStringPrerequisitesNotInstalled, 178, "Einige Voraussetzungen konnten nicht installiert werden. Klicken Sie auf Zurück, um zur Liste der Voraussetzungen zurückzukehren.") \
    X(kStringPrerequisitesNotDownloaded, 183, "Einige Voraussetzungen konnten nicht heruntergeladen werden. Sie können es erneut versuchen oder sie aus der Liste der Voraussetzungen entfernen.") \
    X(kStringMandatoryStillMissing, 188, "Einige erforderliche Voraussetzungen fehlen noch, daher kann die Hauptanwendung nicht installiert werden. Klicken Sie auf Zurück, um zur Liste der Voraussetzungen zurückzukehren.") \
    X(kStringCredentialUserName, 190, "&Benutzername:") \
    X(kStringCredentialPassword, 191, "&Kennwort:") \
    X(kStringDownloading, 199, "%s wird heruntergeladen") \
    X(kStringOsFamilyExcluded, 206, "%s kann nicht unter %s installiert werden") \
    X(kStringOsVersionExcluded, 207, "%s kann nicht unter den folgenden Windows-Versionen installiert werden: %s") \
    X(kStringInternetExplorerTooOld, 208, "%s kann nicht auf Systemen mit einer Internet Explorer-Version unter %s installiert werden") \
    X(kStringIisTooOld, 209, "%s kann nicht auf Systemen mit einer Version der Internetinformationsdienste unter %s installiert werden") \
    X(kStringScreenTooSmall, 210, "%s kann nicht auf Systemen mit einer Bildschirmauflösung unter %s installiert werden") \
    X(kStringColourTooLow, 211, "%s kann nicht auf Systemen mit einer Farbqualität unter %s Bit installiert werden.") \
    X(kStringMemoryTooSmall, 212, "%s kann nicht auf Systemen mit weniger als %s MB physischem Arbeitsspeicher installiert werden.") \
    X(kStringDotNetTooOld, 213, "%s kann nicht auf Systemen mit einer .NET Framework-Version unter %s installiert werden") \
    X(kStringAdministratorRequired, 214, "%s benötigt für die Installation Administratorrechte.") \
    X(kStringRebootQuestion, 216, "Sie müssen den Computer neu starten, um die Installation fortzusetzen. Klicken Sie auf Ja, um jetzt neu zu starten, oder auf Nein, um die Installation abzubrechen und den Computer später selbst neu zu starten.") \
    X(kStringConfirmation, 217, "Bestätigung") \
    X(kStringAdobeReaderTooOld, 221, "%s kann nicht auf Systemen mit einer Adobe Reader-Version unter %s installiert werden") \
    X(kStringJreTooOld, 224, "%s kann nicht auf Systemen mit einer JRE-Version unter %s installiert werden") \
    X(kStringDirectXTooOld, 225, "%s kann nicht auf Systemen mit einer DirectX-Version unter %s installiert werden") \
    X(kStringInternetRequired, 226, "%s benötigt für die Installation eine aktive Internetverbindung. Bitte überprüfen Sie Ihre Netzwerkkonfiguration und Ihre Proxyeinstellungen.") \
    X(kStringOffice2003Required, 227, "%s kann nicht auf Systemen ohne %s 2003 oder höher installiert werden.") \
    X(kStringOffice2007Required, 228, "%s kann nicht auf Systemen ohne %s 2007 oder höher installiert werden.") \
    X(kStringXnaTooOld, 235, "%s kann nicht auf Systemen mit einer XNA Framework-Version unter %s installiert werden") \
    X(kStringEvaluatingConditions, 236, "Startbedingungen werden geprüft...") \
    X(kStringJdkTooOld, 237, "%s kann nicht auf Systemen mit einer JDK-Version unter %s installiert werden") \
    X(kStringProductRequired, 238, "%s kann nicht auf Systemen ohne %s installiert werden") \
    X(kStringProductOrHigherRequired, 239, "%s kann nicht auf Systemen ohne %s oder höher installiert werden") \
    X(kStringPia2003Required, 241, "%s kann nicht auf Systemen ohne die Primary Interop Assembly von %s 2003 installiert werden.") \
    X(kStringPia2007Required, 242, "%s kann nicht auf Systemen ohne die Primary Interop Assembly von %s 2007 installiert werden.") \
    X(kStringOfficeToolsRequired, 243, "%s kann nicht auf Systemen ohne %s installiert werden.") \
    X(kStringOffice2010Required, 244, "%s kann nicht auf Systemen ohne %s 2010 oder höher installiert werden.") \
    X(kStringConnectTo, 245, "Verbindung mit %s herstellen") \
    X(kStringCredentialsRequired, 246, "Der Server %s unter %s erfordert einen Benutzernamen und ein Kennwort. Bitte geben Sie beides unten ein.") \
    X(kStringCannotAccessUrl, 247, "Auf die URL kann nicht zugegriffen werden: %s") \
    X(kStringPia2010Required, 248, "%s kann nicht auf Systemen ohne die Primary Interop Assembly von %s 2010 installiert werden.") \
    X(kStringSharedPiaRequired, 255, "%s kann nicht auf Systemen ohne die Primary Interop Assembly von %s installiert werden.") \
    X(kStringUpgradeInstance, 256, "Die ausgewählte Instanz wird aktualisiert. Möchten Sie fortfahren?") \
    X(kStringQuestionCaption, 257, "Frage")
