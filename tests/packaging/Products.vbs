' Lists the installed products of one upgrade code (the first argument), one
' line each: the product code and its version.
Dim installer, product
Set installer = CreateObject("WindowsInstaller.Installer")
For Each product In installer.RelatedProducts(WScript.Arguments(0))
    WScript.Echo product & " " & installer.ProductInfo(product, "VersionString")
Next
