-- Rows of druvo.wxs that wixl cannot write, applied by package.sh one line at
-- a time. Which folders existed before the install: the folder given on the
-- command line, Steinberg's default folder and its parent, per registry view.
CREATE TABLE `DrLocator` (`Signature_` CHAR(72) NOT NULL, `Parent` CHAR(72), `Path` CHAR(255), `Depth` SHORT PRIMARY KEY `Signature_`, `Parent`, `Path`)
INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('Given64', '[VST64DIR]', 0)
INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('Given32', '[VST32DIR]', 0)
INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('Default64', '[ProgramFiles64Folder]Steinberg\VstPlugins', 0)
INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('Default32', '[ProgramFilesFolder]Steinberg\VstPlugins', 0)
INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('Steinberg64', '[ProgramFiles64Folder]Steinberg', 0)
INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('Steinberg32', '[ProgramFilesFolder]Steinberg', 0)
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('GIVEN64FOUND', 'Given64')
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('GIVEN32FOUND', 'Given32')
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('DEFAULT64FOUND', 'Default64')
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('DEFAULT32FOUND', 'Default32')
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('STEINBERG64FOUND', 'Steinberg64')
INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('STEINBERG32FOUND', 'Steinberg32')
-- The folders the files go to, held by a component that is never installed.
INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('VST64DIR', 'KeepFolders')
INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('Steinberg64', 'KeepFolders')
INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('VST32DIR', 'KeepFolders')
INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('Steinberg32', 'KeepFolders')
-- The folders this install created, removed (if empty) with the components
-- that note them, once RemoveFiles has taken the files out; wixl writes no
-- RemoveFolders, and no CreateFolders, which would make the stand-ins.
INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('RemoveFolders', 3600)
INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('REMOVE64DIR', 'Folder64')
INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('REMOVE64PARENT', 'Folder64')
INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('REMOVE32DIR', 'Folder32')
INSERT INTO `CreateFolder` (`Directory_`, `Component_`) VALUES ('REMOVE32PARENT', 'Folder32')
-- Secure: msiexec hands them from the client to the per-machine install.
UPDATE `Property` SET `Value` = 'WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED;VST64DIR;VST32DIR;DRUVO64SAVED;DRUVO32SAVED;HOSTS64DIR;HOSTS32DIR;MADE64;MADE32;MADE64PARENT;MADE32PARENT;GIVEN64FOUND;GIVEN32FOUND;DEFAULT64FOUND;DEFAULT32FOUND;STEINBERG64FOUND;STEINBERG32FOUND' WHERE `Property` = 'SecureCustomProperties'
