' The bank module as an automation client sees it: created by its ProgID,
' used late-bound. Prints "N passed, M failed" and exits 1 on any failure.
Option Explicit

Dim passed, failed
passed = 0
failed = 0

Sub Check(name, actual, expected)
    If actual = expected Then
        passed = passed + 1
    Else
        failed = failed + 1
        WScript.Echo "FAILED " & name & ": got [" & actual & "], expected [" & expected & "]"
    End If
End Sub

Const ServiceName = "Bank Reconciliation Service"

Dim bank, services, service, each_service, count
Set bank = CreateObject("MavrinTorvVantryNewFormat.Bank")
Check "bank.Name", bank.Name, "Pendrel Business Internet Banking"
Check "bank.Kind", bank.Kind, 1

Set services = bank.Services
Check "Services.Count", services.Count, 1
Check "Services.Item(0).Name", services.Item(0).Name, ServiceName
Check "Services(0).Name", services(0).Name, ServiceName
Check "Services.Item(name).Name", services.Item(ServiceName).Name, ServiceName

count = 0
For Each each_service In services
    count = count + 1
    Check "For Each Name", each_service.Name, ServiceName
Next
Check "For Each count", count, 1

Set service = services.Item(ServiceName)
Check "Cancelled", service.Cancelled, 0
service.Cancelled = 1
Check "Cancelled written", service.Cancelled, 1
Check "Cancelled seen through the collection", services.Item(0).Cancelled, 1

On Error Resume Next
Dim missing
Set missing = services.Item(5)
Check "Item(5) Err.Number", Err.Number, 65532
Check "Item(5) Err.Description", Err.Description, "Invalid argument"
Err.Clear
On Error GoTo 0

WScript.Echo passed & " passed, " & failed & " failed"
If failed > 0 Then WScript.Quit 1
