<!DOCTYPE html>
<html>
<head>
<meta http-equiv="X-UA-Compatible" content="IE=edge">
<meta charset="utf-8">
<title>Velmora 登录</title>
</head>
<body style="margin:0;background:#0d2a52;color:#f3e7c4;font-family:'Microsoft YaHei',SimSun,sans-serif">
<h1>欢迎来到 Velmora</h1>
<form action="enter.html" method="get">
<p>账号 <input type="text" name="user" value="demo"></p>
<p>密码 <input type="password" name="pass" value="demo"></p>
<p><input type="submit" value="登录"></p>
</form>
<p><a href="enter.html">登录并进入游戏</a></p>
<p><a href="app://loadgame|http://127.0.0.1:18473/play/one.html">直接进入 第一服</a></p>
<p><a href="app://loadgame|http://127.0.0.1:18473/play/two.html">直接进入 第二服</a></p>
<p><a href="app://loadgame|http://127.0.0.1:18473/play/gate.html">直接进入 城门</a></p>
<p><a href="app://minimize">最小化</a> · <a href="app://exitgame">退出</a></p>
</body>
</html>
