; The installer's own texts, English and Japanese (the pages' standard
; texts come from NSIS's language files through MUI_LANGUAGE).

LangString SectionSaver ${LANG_ENGLISH} "Tessivane screen saver"
LangString SectionSaver ${LANG_JAPANESE} "Tessivane スクリーンセーバー"

LangString SectionSaverDescription ${LANG_ENGLISH} "The screen saver, its help page and the licence notices of the libraries it contains, in the Windows system folder where the screen saver settings list it."
LangString SectionSaverDescription ${LANG_JAPANESE} "スクリーンセーバー、ヘルプ、および使用しているライブラリのライセンス表示を、Windows のスクリーンセーバーの設定に表示されるシステムフォルダーにインストールします。"

LangString SectionActivate ${LANG_ENGLISH} "Use Tessivane as my screen saver"
LangString SectionActivate ${LANG_JAPANESE} "Tessivane を現在のスクリーンセーバーにする"

LangString SectionActivateDescription ${LANG_ENGLISH} "Makes Tessivane the current screen saver of this user and turns the screen saver on."
LangString SectionActivateDescription ${LANG_JAPANESE} "このユーザーのスクリーンセーバーを Tessivane に設定し、スクリーンセーバーを有効にします。"

LangString SectionUninstallSaverDescription ${LANG_ENGLISH} "Removes the screen saver, its help page, the licence notices and its entry in the installed programs."
LangString SectionUninstallSaverDescription ${LANG_JAPANESE} "スクリーンセーバー、ヘルプ、ライセンス表示、およびプログラムの一覧の項目を削除します。"

LangString SectionRemoveSettings ${LANG_ENGLISH} "Remove my Tessivane settings"
LangString SectionRemoveSettings ${LANG_JAPANESE} "Tessivane の設定も削除する"

LangString SectionRemoveSettingsDescription ${LANG_ENGLISH} "Also removes your settings (picture, conversion method, music) from the registry. Unticked, they stay for a later install."
LangString SectionRemoveSettingsDescription ${LANG_JAPANESE} "レジストリに保存された設定（画像、変換方法、BGM）も削除します。チェックしない場合、設定は残り、再インストール後も使われます。"

LangString NeedsAdministrator ${LANG_ENGLISH} "Tessivane is installed into the Windows system folder: run this program as an administrator."
LangString NeedsAdministrator ${LANG_JAPANESE} "Tessivane は Windows のシステムフォルダーにインストールされます。管理者として実行してください。"

LangString CannotRegister ${LANG_ENGLISH} "The uninstaller or its entry in the installed programs could not be written. Nothing more was installed."
LangString CannotRegister ${LANG_JAPANESE} "アンインストーラーまたはプログラムの一覧の項目を書き込めませんでした。インストールを中止しました。"
