@echo off
rem The demo product: greets the user and shows where it was installed.
echo Hello from the Quillset demo.
echo Installed in %~dp0
type "%~dp0..\data\settings.ini"
pause
