#pragma once
// setup's texts in French (1036), under the same names and ids as setup_string_ids.h; "%s" in the
// same order. Read by the resource compiler and by the tests that hold it against the base list.

// X(name, id, text)
#define MAGLORIN_SETUP_STRINGS_1036(X) \
    X(kStringHelpCaption, 100, "Options de %s") \
    X(kStringHelpText, 101, "Ligne de commande :\n%s [options]\noptions :\n  /? ou /help - affiche ce message\n  /extract:<dossier> - extrait tous les fichiers dans <dossier>\n  /listlangs - répertorie les langues prises en charge par ce programme d'installation\n  /exenoui - lance l'installation EXE sans interface utilisateur\n  /exebasicui - lance l'installation EXE avec une interface utilisateur simplifiée\n  /exelang <idLangue> - lance l'installation EXE dans la langue indiquée\n  /username - nom d'utilisateur pour le proxy\n  /password - mot de passe pour le proxy\n  <optionsMsi> - options de msiexec.exe pour l'exécution du package MSI") \
    X(kStringLanguagesCaption, 102, "Langues de %s") \
    X(kStringSetupTitle, 103, "Installation de %s") \
    X(kStringReadError, 104, "Une erreur s'est produite lors de la lecture du fichier.") \
    X(kStringCorruptedArchive, 105, "Cette archive est endommagée.") \
    X(kStringUnsupportedVersion, 106, "La version de cette archive n'est pas prise en charge.") \
    X(kStringInstallerNotStarted, 107, "Impossible de démarrer Windows Installer.") \
    X(kStringExtractionError, 108, "Une erreur s'est produite lors de l'extraction.") \
    X(kStringAnotherInstance, 109, "Une autre instance du programme d'installation est déjà en cours d'exécution.") \
    X(kStringPreparing, 110, "Préparation...") \
    X(kStringCheckingIntegrity, 111, "Vérification de l'intégrité (MD5)...") \
    X(kStringInstallerTooOld, 112, "%s ne peut pas être installé sur les systèmes dont la version de Windows Installer est antérieure à %s.") \
    X(kStringExtracting, 113, "Extraction des fichiers...") \
    X(kStringWizardTitle, 145, "%s - Prérequis") \
    X(kStringWizardIntro, 146, "Avant l'installation de %s, d'autres logiciels doivent être présents sur cet ordinateur. Cliquez sur Suivant pour voir les prérequis que ce programme d'installation peut installer.") \
    X(kStringWizardListHeading, 147, "Cochez les prérequis à installer et cliquez sur Suivant. Les prérequis déjà installés peuvent être cochés pour les réinstaller.") \
    X(kStringColumnPrerequisite, 148, "Prérequis") \
    X(kStringColumnVersion, 149, "Versions") \
    X(kStringColumnStatus, 150, "État") \
    X(kStringStatusInstalled, 151, "Installé") \
    X(kStringStatusMissing, 152, "Non installé") \
    X(kStringInstallingPrerequisite, 153, "Installation de %s") \
    X(kStringStatusNotNeeded, 154, "Inutile sur ce système") \
    X(kStringStatusDownloaded, 155, "Non installé (téléchargé)") \
    X(kStringStatusDownloadFailed, 156, "Échec du téléchargement") \
    X(kStringStatusInstallFailed, 157, "Échec de l'installation") \
    X(kStringRequiredAny, 158, "Requis : toute version.") \
    X(kStringRequiredMinimum, 159, "Requis : %s ou supérieur.") \
    X(kStringRequiredMaximum, 160, "Requis : %s ou inférieur.") \
    X(kStringRequiredBetween, 161, "Requis : entre %s et %s.") \
    X(kStringFoundVersions, 162, " Trouvé : %s.") \
    X(kStringFoundNothing, 163, " Trouvé : rien.") \
    X(kStringButtonBack, 164, "< &Précédent") \
    X(kStringButtonNext, 165, "&Suivant >") \
    X(kStringButtonCancel, 166, "Annuler") \
    X(kStringButtonFinish, 167, "&Terminer") \
    X(kStringPrerequisiteMandatory, 168, "Ce prérequis est obligatoire. Il doit être installé et ne peut pas être désélectionné.") \
    X(kStringSummaryHeading, 169, "Le programme d'installation va effectuer les opérations suivantes. Cliquez sur Suivant pour commencer :") \
    X(kStringSummaryRun, 170, "Installer %s") \
    X(kStringSummaryDownload, 171, "Télécharger et installer %s") \
    X(kStringSummaryOpenSite, 172, "Ouvrir le site web de %s") \
    X(kStringProgressHeading, 173, "Veuillez patienter pendant le téléchargement et l'installation des prérequis.") \
    X(kStringCancelling, 174, "Annulation après l'étape en cours...") \
    X(kStringProgressBytes, 175, "%s sur %s Ko") \
    X(kStringResultHeading, 176, "Prérequis") \
    X(kStringPrerequisitesStillMissing, 179, "Après le lancement de tous les packages, certains prérequis nécessaires sont toujours manquants. Cliquez sur Précédent pour revenir à la liste des prérequis.") \
    X(kStringPrerequisitesInstalled, 180, "Tous les prérequis ont été installés. Cliquez sur Terminer pour installer l'application principale.") \
    X(kStringPrerequisitesNotInstalled, 178, "Certains prérequis n'ont pas pu être installés. Cliquez sur Précédent pour revenir à la liste des prérequis.") \
    X(kStringPrerequisitesNotDownloaded, 183, "Certains prérequis n'ont pas pu être téléchargés. Vous pouvez réessayer ou les retirer de la liste des prérequis.") \
    X(kStringMandatoryStillMissing, 188, "Certains prérequis obligatoires manquent encore : l'application principale ne peut donc pas être installée. Cliquez sur Précédent pour revenir à la liste des prérequis.") \
    X(kStringCredentialUserName, 190, "&Nom d'utilisateur :") \
    X(kStringCredentialPassword, 191, "&Mot de passe :") \
    X(kStringDownloading, 199, "Téléchargement de %s") \
    X(kStringOsFamilyExcluded, 206, "%s ne peut pas être installé sur %s") \
    X(kStringOsVersionExcluded, 207, "%s ne peut pas être installé sur les versions de Windows suivantes : %s") \
    X(kStringInternetExplorerTooOld, 208, "%s ne peut pas être installé sur les systèmes dont la version d'Internet Explorer est antérieure à %s") \
    X(kStringIisTooOld, 209, "%s ne peut pas être installé sur les systèmes dont la version des services Internet (IIS) est antérieure à %s") \
    X(kStringScreenTooSmall, 210, "%s ne peut pas être installé sur les systèmes dont la résolution d'écran est inférieure à %s") \
    X(kStringColourTooLow, 211, "%s ne peut pas être installé sur les systèmes dont la qualité des couleurs est inférieure à %s bits.") \
    X(kStringMemoryTooSmall, 212, "%s ne peut pas être installé sur les systèmes disposant de moins de %s Mo de mémoire physique.") \
    X(kStringDotNetTooOld, 213, "%s ne peut pas être installé sur les systèmes dont la version de .NET Framework est antérieure à %s") \
    X(kStringAdministratorRequired, 214, "%s nécessite des privilèges d'administrateur pour l'installation.") \
    X(kStringRebootQuestion, 216, "Vous devez redémarrer l'ordinateur pour poursuivre l'installation. Cliquez sur Oui pour redémarrer maintenant ou sur Non pour abandonner l'installation et redémarrer manuellement plus tard.") \
    X(kStringConfirmation, 217, "Confirmation") \
    X(kStringAdobeReaderTooOld, 221, "%s ne peut pas être installé sur les systèmes dont la version d'Adobe Reader est antérieure à %s") \
    X(kStringJreTooOld, 224, "%s ne peut pas être installé sur les systèmes dont la version du JRE est antérieure à %s") \
    X(kStringDirectXTooOld, 225, "%s ne peut pas être installé sur les systèmes dont la version de DirectX est antérieure à %s") \
    X(kStringInternetRequired, 226, "%s nécessite une connexion Internet active pour l'installation. Vérifiez votre configuration réseau et vos paramètres de proxy.") \
    X(kStringOffice2003Required, 227, "%s ne peut pas être installé sur les systèmes sans %s 2003 ou version ultérieure.") \
    X(kStringOffice2007Required, 228, "%s ne peut pas être installé sur les systèmes sans %s 2007 ou version ultérieure.") \
    X(kStringXnaTooOld, 235, "%s ne peut pas être installé sur les systèmes dont la version de XNA Framework est inférieure à %s") \
    X(kStringEvaluatingConditions, 236, "Évaluation des conditions de lancement...") \
    X(kStringJdkTooOld, 237, "%s ne peut pas être installé sur les systèmes dont la version du JDK est antérieure à %s") \
    X(kStringProductRequired, 238, "%s ne peut pas être installé sur les systèmes sans %s") \
    X(kStringProductOrHigherRequired, 239, "%s ne peut pas être installé sur les systèmes sans %s ou version ultérieure") \
    X(kStringPia2003Required, 241, "%s ne peut pas être installé sur les systèmes sans l'assembly PIA (Primary Interop Assembly) de %s 2003.") \
    X(kStringPia2007Required, 242, "%s ne peut pas être installé sur les systèmes sans l'assembly PIA (Primary Interop Assembly) de %s 2007.") \
    X(kStringOfficeToolsRequired, 243, "%s ne peut pas être installé sur les systèmes sans %s.") \
    X(kStringOffice2010Required, 244, "%s ne peut pas être installé sur les systèmes sans %s 2010 ou version ultérieure.") \
    X(kStringConnectTo, 245, "Connexion à %s") \
    X(kStringCredentialsRequired, 246, "Le serveur %s à l'adresse %s nécessite un nom d'utilisateur et un mot de passe. Entrez-les ci-dessous.") \
    X(kStringCannotAccessUrl, 247, "Impossible d'accéder à l'URL : %s") \
    X(kStringPia2010Required, 248, "%s ne peut pas être installé sur les systèmes sans l'assembly PIA (Primary Interop Assembly) de %s 2010.") \
    X(kStringSharedPiaRequired, 255, "%s ne peut pas être installé sur les systèmes sans l'assembly PIA (Primary Interop Assembly) de %s.") \
    X(kStringUpgradeInstance, 256, "L'instance sélectionnée va être mise à niveau. Voulez-vous continuer ?") \
    X(kStringQuestionCaption, 257, "Question")
