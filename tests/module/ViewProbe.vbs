' Creates the bank by its ProgID and prints what became of it: "created"
' with the bank's name and its number of services, or "error" with the
' error number (429: the class cannot be created from this client).
On Error Resume Next
Dim bank
Set bank = CreateObject("MavrinTorvVantryNewFormat.Bank")
If Err.Number <> 0 Then
    WScript.Echo "error " & Err.Number
Else
    WScript.Echo "created " & bank.Name & ", " & bank.Services.Count & " service"
End If
